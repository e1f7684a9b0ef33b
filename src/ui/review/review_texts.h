#pragma once
// The operator-facing texts of review mode, kept in one place (UTF-8).
#include <QString>

namespace somatrix::review {

inline QString FileFilter() {
    // The platform dialog separates patterns by spaces, so the two extensions are listed that way.
    return QStringLiteral("脑电图数据文件(*.dat *.eeg);;所有文件(*.*)");
}
inline QString FileDialogTitle() {
    return QStringLiteral("打开脑电图数据文件");
}
inline QString DefaultSuffix() {
    return QStringLiteral("dat");
}

inline QString ZoomInX() {
    return QStringLiteral("放大(横向)");
}
inline QString ZoomOutX() {
    return QStringLiteral("缩小(横向)");
}
inline QString ZoomInY() {
    return QStringLiteral("放大(纵向)");
}
inline QString ZoomOutY() {
    return QStringLiteral("缩小(纵向)");
}
inline QString ShowGrid() {
    return QStringLiteral("显示网格");
}
inline QString CutText() {
    return QStringLiteral("剪切");
}

inline QString WaveName() {
    return QStringLiteral("波形");
}
inline QString OverviewName() {
    return QStringLiteral("全程概览");
}
inline QString TimeRulerName() {
    return QStringLiteral("时间标尺");
}
inline QString ValueRulerName() {
    return QStringLiteral("数值标尺");
}

inline QString ViewCaption() {
    return QStringLiteral("查看");
}
inline QString SelectionCaption() {
    return QStringLiteral("选取");
}
inline QString XScaleCaption() {
    return QStringLiteral("X比例");
}
inline QString YScaleCaption() {
    return QStringLiteral("Y比例");
}
inline QString ViewStartName() {
    return QStringLiteral("查看起点");
}
inline QString ViewEndName() {
    return QStringLiteral("查看终点");
}
inline QString SelStartName() {
    return QStringLiteral("选取起点");
}
inline QString SelEndName() {
    return QStringLiteral("选取终点");
}
// Status bar line after opening a file that is not a review file; %1 is its name.
inline QString NotAReviewFile() {
    return QStringLiteral("%1 不是脑电图数据文件，未打开");
}

// Measurement cursors and selection statistics.
inline QString CursorsItem() {
    return QStringLiteral("双游标\tC");
}
inline QString CursorReadoutName() {
    return QStringLiteral("游标读数");
}
inline QString CursorName(int which) {
    return which == 0 ? QStringLiteral("游标A") : QStringLiteral("游标B");
}
// One cursor's line of the readout: name, seconds from the start, value.
inline QString CursorLine(const QString& name, const QString& seconds, const QString& value) {
    return QStringLiteral("%1  %2 s  %3").arg(name, seconds, value);
}
inline QString CursorDeltaLine(const QString& ms, const QString& value, const QString& bpm) {
    return QStringLiteral("Δt %1 ms  Δ值 %2  60/Δt %3 次/分").arg(ms, value, bpm);
}
inline QString NoValue() {
    return QStringLiteral("--");
}
inline QString StatsName() {
    return QStringLiteral("选取统计");
}
inline QString StatsOfSelection() {
    return QStringLiteral("选取");
}
inline QString StatsOfView() {
    return QStringLiteral("查看");
}
inline QString StatDuration() {
    return QStringLiteral("时长");
}
inline QString StatMin() {
    return QStringLiteral("最小值");
}
inline QString StatMax() {
    return QStringLiteral("最大值");
}
inline QString StatMean() {
    return QStringLiteral("平均值");
}
inline QString StatStdDev() {
    return QStringLiteral("标准差");
}
inline QString StatBeats() {
    return QStringLiteral("心搏数");
}
inline QString StatHrMean() {
    return QStringLiteral("平均心率");
}
inline QString StatSdnn() {
    return QStringLiteral("SDNN");
}
inline QString StatRmssd() {
    return QStringLiteral("RMSSD");
}
inline QString UnitSeconds() {
    return QStringLiteral("s");
}
inline QString UnitBpm() {
    return QStringLiteral("次/分");
}
inline QString UnitMs() {
    return QStringLiteral("ms");
}

// The worksheet and the comparison of two recordings.
inline QString WorksheetTitle() {
    return QStringLiteral("打印实验报告…");
}
inline QString CompareTitle() {
    return QStringLiteral("对比两段记录…");
}
inline QString CompareWindowTitle() {
    return QStringLiteral("对比两段记录");
}
inline QString CompareOpenFirst() {
    return QStringLiteral("打开第一段记录");
}
inline QString CompareOpenSecond() {
    return QStringLiteral("打开第二段记录");
}
inline QString ComparePlotName(int which) {
    return QStringLiteral("记录%1波形").arg(which + 1);
}
inline QString CompareTableName() {
    return QStringLiteral("对比表");
}
inline QString CompareNotLoaded() {
    return QStringLiteral("不是可以打开的记录文件：%1");
}
inline QString PrintButton() {
    return QStringLiteral("打印…");
}
inline QString PreviewButton() {
    return QStringLiteral("打印预览…");
}
inline QString SavePdfButton() {
    return QStringLiteral("保存为PDF…");
}
inline QString CloseButton() {
    return QStringLiteral("关闭");
}
inline QString CompareFilter() {
    return QStringLiteral("记录文件(*.dat *.eeg *.edf);;所有文件(*.*)");
}
inline QString PdfFilter() {
    return QStringLiteral("PDF 文件(*.pdf)");
}

}  // namespace somatrix::review

namespace somatrix::review::ids {

inline constexpr int kZoomInX = 32775;
inline constexpr int kZoomOutX = 32776;
inline constexpr int kZoomInY = 32777;
inline constexpr int kZoomOutY = 32778;
inline constexpr int kGrid = 32780;
inline constexpr int kCut = 32803;
// Added to menu 312 by this program: the two measurement cursors.
inline constexpr int kCursors = 32900;

inline constexpr int kOverview = 59748;
inline constexpr int kValueRuler = 59749;
inline constexpr int kTimeRuler = 59750;
inline constexpr int kWave = 59751;

inline constexpr int kViewStart = 1029;
inline constexpr int kViewEnd = 1027;
inline constexpr int kSelStart = 1028;
inline constexpr int kSelEnd = 1030;
inline constexpr int kXScale = 1032;
inline constexpr int kYScale = 1033;

}  // namespace somatrix::review::ids
