#include "display/paint_pacing.h"

namespace somatrix {

int64_t CPaintPacing::IntervalForRate(double framesPerSecond) {
    if (!(framesPerSecond >= 20.0 && framesPerSecond <= 500.0)) {
        framesPerSecond = 60.0;
    }
    return static_cast<int64_t>(1e6 / framesPerSecond);
}

int64_t CPaintPacing::DelayUs(int64_t nowUs) const {
    if (!m_bAny) {
        return 0;
    }
    const int64_t due = m_nLastUs + m_nIntervalUs;
    return nowUs >= due ? 0 : due - nowUs;
}

}  // namespace somatrix
