#pragma once
// The operator-facing texts of the printed worksheet and of the comparison table (UTF-8).
#include <QString>

namespace somatrix::report {

inline QString Title() {
    return QStringLiteral("生理学实验报告");
}
inline QString StudentField() {
    return QStringLiteral("姓名");
}
inline QString ClassField() {
    return QStringLiteral("班级");
}
inline QString DateField() {
    return QStringLiteral("日期");
}
inline QString RecordingField() {
    return QStringLiteral("记录");
}
inline QString SensorField() {
    return QStringLiteral("传感器");
}
inline QString DeviceField() {
    return QStringLiteral("设备编号");
}
inline QString PlotCaption() {
    return QStringLiteral("波形（%1 s 至 %2 s）");
}
inline QString HeartRateCaption() {
    return QStringLiteral("心率（次/分）");
}
inline QString NoBeats() {
    return QStringLiteral("没有检出心搏");
}
inline QString StatsCaptionSelection() {
    return QStringLiteral("统计（选取）");
}
inline QString StatsCaptionView() {
    return QStringLiteral("统计（显示范围）");
}
inline QString MarkersCaption() {
    return QStringLiteral("标记");
}
inline QString NoMarkers() {
    return QStringLiteral("无标记");
}
inline QString MoreMarkers() {
    return QStringLiteral("另有 %1 条标记");
}
inline QString CompareCaption() {
    return QStringLiteral("两段记录对比");
}
inline QString PageText() {
    return QStringLiteral("第 %1 页，共 %2 页");
}
inline QString SecondsAxis() {
    return QStringLiteral("时间 (s)");
}
inline QString CannotWrite() {
    return QStringLiteral("无法写入文件 %1");
}
inline QString Unknown() {
    return QStringLiteral("—");
}

// The comparison table's headings and rows.
inline QString CompareItem() {
    return QStringLiteral("项目");
}
inline QString CompareFirst() {
    return QStringLiteral("记录1");
}
inline QString CompareSecond() {
    return QStringLiteral("记录2");
}
inline QString CompareDifference() {
    return QStringLiteral("差值(2−1)");
}
inline QString CompareRowName(int row) {
    static const char* const kNames[] = {"时长 (s)",         "平均心率 (次/分)", "最低心率 (次/分)",
                                         "最高心率 (次/分)", "SDNN (ms)",        "RMSSD (ms)",
                                         "数值平均",         "数值范围"};
    return row >= 0 && row < 8 ? QString::fromUtf8(kNames[row]) : QString();
}

}  // namespace somatrix::report
