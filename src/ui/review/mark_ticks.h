#pragma once
// Annotation ticks as the review windows draw them: the sample each one falls on and its text.
// The review display hands the list to the wave window (labelled ticks) and to the overview
// (short ticks) after every load, cut, signal choice and change of the annotations.
#include <QColor>
#include <QString>
#include <cstdint>
#include <vector>

namespace somatrix {

struct CMarkTick {
    int64_t m_nSample = 0;
    QString m_strText;
};
using CMarkTicks = std::vector<CMarkTick>;

namespace review {
inline const QColor kMarkTick(255, 170, 0);
}

}  // namespace somatrix
