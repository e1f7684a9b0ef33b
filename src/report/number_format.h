#pragma once
// Number texts of the review readouts, the statistics and the worksheet: fixed decimals, "--"
// where a value is undefined (no beats, cursors on one sample).
#include <QString>
#include <cmath>

namespace somatrix::review {

inline QString FormatNumber(double value, int decimals) {
    if (!std::isfinite(value)) {
        return QStringLiteral("--");
    }
    // -0.0 would print as "-0".
    const double rounded = value == 0.0 ? 0.0 : value;
    return QString::number(rounded, 'f', decimals);
}

// Decimals for values of a source: raw counts are whole numbers, physical values get three.
inline int ValueDecimals(double scale, double offset) {
    return scale == 1.0 && offset == 0.0 ? 0 : 3;
}

}  // namespace somatrix::review
