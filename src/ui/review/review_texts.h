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
// Status bar line after opening a file that is not a review file; %1 is its name.
inline QString NotAReviewFile() {
    return QStringLiteral("%1 不是脑电图数据文件，未打开");
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
