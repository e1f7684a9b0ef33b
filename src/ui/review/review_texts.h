#pragma once
// The operator-facing texts of review mode, kept in one place (UTF-8).
#include <QString>

namespace somatrix::review {

inline QString FileFilter() {
    // The platform dialog separates patterns by spaces, so the two extensions are listed that way.
    return QStringLiteral("脑电图数据文件(*.dat *.eeg);;EDF+ 文件(*.edf);;所有文件(*.*)");
}
// Saving offers both formats, the opened file's own first.
inline QString SaveFilter(bool edfFirst) {
    return edfFirst ? QStringLiteral("EDF+ 文件(*.edf);;脑电图数据文件(*.dat *.eeg)")
                    : QStringLiteral("脑电图数据文件(*.dat *.eeg);;EDF+ 文件(*.edf)");
}
inline QString CsvFilter() {
    return QStringLiteral("CSV 文件(*.csv)");
}
inline QString ExportCsvTitle() {
    return QStringLiteral("导出 CSV");
}

// EDF+ recordings in review.
inline QString SignalCaption() {
    return QStringLiteral("信号");
}
inline QString MarksCaption() {
    return QStringLiteral("标记");
}
inline QString AddMarkText() {
    return QStringLiteral("添加标记");
}
inline QString RenameMarkText() {
    return QStringLiteral("重命名");
}
inline QString RemoveMarkText() {
    return QStringLiteral("删除标记");
}
inline QString ExportCsvText() {
    return QStringLiteral("导出 CSV");
}
inline QString MarkerName() {
    return QStringLiteral("标记 %1");
}
inline QString RenameMarkTitle() {
    return QStringLiteral("重命名标记");
}
inline QString RenameMarkLabel() {
    return QStringLiteral("标记名称：");
}
inline QString Repaired() {
    return QStringLiteral("录制文件曾被中断，已修复：%1");
}
inline QString EdfRefused() {
    return QStringLiteral("无法打开 EDF+ 文件：%1");
}
inline QString EdfReason(int code) {
    switch (code) {
        case -1:
            return QStringLiteral("内存不足");
        case -2:
            return QStringLiteral("文件不存在");
        case -3:
            return QStringLiteral("文件格式有错误");
        case -4:
            return QStringLiteral("打开的文件太多");
        case -5:
            return QStringLiteral("读取文件出错");
        case -6:
            return QStringLiteral("文件已被打开");
        case -7:
            return QStringLiteral("不是 EDF 文件");
        case -10:
            return QStringLiteral("不支持不连续的记录（EDF+D）");
        default:
            return QStringLiteral("错误代码 %1").arg(code);
    }
}
inline QString ExportFailed() {
    return QStringLiteral("导出失败：%1");
}
inline QString ReviewLossTitle() {
    return QStringLiteral("保存为脑电图数据文件");
}
inline QString ReviewLossIntro() {
    return QStringLiteral("脑电图数据文件只能保存一个每秒 200 个采样的信号，保存后将丢失：");
}
inline QString LossAnnotations() {
    return QStringLiteral("%1 个标记");
}
inline QString LossRate() {
    return QStringLiteral("采样率 %1 Hz（文件将按 200 Hz 读取，时间会改变）");
}
inline QString LossSignals() {
    return QStringLiteral("其他 %1 个信号");
}
inline QString LossGaps() {
    return QStringLiteral("无数据段（暂停、断开）");
}
inline QString LossUnits() {
    return QStringLiteral("物理单位和比例（%1）");
}
inline QString ReviewLossQuestion() {
    return QStringLiteral("仍要保存吗？");
}
inline QString FileDialogTitle() {
    return QStringLiteral("打开脑电图数据文件");
}
inline QString DefaultSuffix() {
    return QStringLiteral("dat");
}
inline QString SaveFailed() {
    return QStringLiteral("文件打开失败!");
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

}  // namespace somatrix::review

namespace somatrix::review::ids {

inline constexpr int kZoomInX = 32775;
inline constexpr int kZoomOutX = 32776;
inline constexpr int kZoomInY = 32777;
inline constexpr int kZoomOutY = 32778;
inline constexpr int kGrid = 32780;
inline constexpr int kCut = 32803;

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
