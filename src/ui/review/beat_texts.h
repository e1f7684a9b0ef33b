#pragma once
// The operator-facing texts of the beat marks and the heart-rate strip in review (UTF-8).
#include <QString>

namespace somatrix::review {

inline QString BeatTicksName() {
    return QStringLiteral("心搏标记");
}
// Count of beats in the view, and how to correct them.
inline QString BeatTicksDescription(int inView, int total) {
    return QStringLiteral("视图内%1次心搏，共%2次；Ctrl+单击添加或删除心搏").arg(inView).arg(total);
}
inline QString RateStripName() {
    return QStringLiteral("心率曲线");
}
inline QString RateStripLabel() {
    return QStringLiteral("心率(次/分)");
}
// The rate range of the view, in beats per minute.
inline QString RateStripDescription(int low, int high) {
    return QStringLiteral("心率 %1–%2 次/分").arg(low).arg(high);
}
inline QString RateStripEmpty() {
    return QStringLiteral("心率: --");
}

}  // namespace somatrix::review
