#pragma once
// Colours of the review windows, kept in one place.
#include <QColor>

namespace somatrix::review {

inline const QColor kWave(24, 243, 173);
inline const QColor kWaveCentre(0, 0, 255);
inline const QColor kWaveCursor(255, 255, 0);
inline const QColor kWaveBackground(0, 0, 0);
inline const QColor kWaveGrid(0, 64, 0);

inline const QColor kOverviewBackground(0, 0, 0);
inline const QColor kViewBoxFill(75, 243, 167);
inline const QColor kViewBoxOutline(227, 253, 241);
inline const QColor kViewBoxShadow(10, 151, 87);
inline const QColor kOverviewSelection(255, 32, 32);

inline const QColor kRulerBackground(65, 71, 81);
inline const QColor kRulerInk(255, 255, 255);

inline const QColor kDisplayBackground(89, 108, 123);

}  // namespace somatrix::review
