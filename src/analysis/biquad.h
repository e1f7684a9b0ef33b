#pragma once
// One second-order IIR section (transposed direct form II) with the Butterworth low- and
// high-pass designs the beat detector needs at any sample rate.
#include <algorithm>
#include <cmath>
#include <numbers>

namespace somatrix {

class CBiquad {
public:
    static CBiquad LowPass(double cornerHz, double sampleRate) {
        return Design(cornerHz, sampleRate, false);
    }
    static CBiquad HighPass(double cornerHz, double sampleRate) {
        return Design(cornerHz, sampleRate, true);
    }

    double Process(double x) {
        const double y = m_b0 * x + m_z1;
        m_z1 = m_b1 * x - m_a1 * y + m_z2;
        m_z2 = m_b2 * x - m_a2 * y;
        return y;
    }
    void Reset() { m_z1 = m_z2 = 0; }
    // Starts from the steady state of a constant input, so that the first samples of a
    // recording (sitting at a large offset) do not ring through the filter.
    void Prime(double x) {
        const double gain = (m_b0 + m_b1 + m_b2) / (1.0 + m_a1 + m_a2);
        const double y = gain * x;
        m_z2 = m_b2 * x - m_a2 * y;
        m_z1 = m_b1 * x - m_a1 * y + m_z2;
    }

private:
    // Bilinear transform with prewarping, Q = 1/sqrt(2).
    static CBiquad Design(double cornerHz, double sampleRate, bool bHighPass) {
        const double nyquistSafe = std::min(cornerHz, 0.45 * sampleRate);
        const double w = 2.0 * std::numbers::pi * nyquistSafe / sampleRate;
        const double alpha = std::sin(w) / std::sqrt(2.0);
        const double c = std::cos(w);
        const double a0 = 1.0 + alpha;
        CBiquad f;
        if (bHighPass) {
            f.m_b0 = (1.0 + c) / 2.0 / a0;
            f.m_b1 = -(1.0 + c) / a0;
        } else {
            f.m_b0 = (1.0 - c) / 2.0 / a0;
            f.m_b1 = (1.0 - c) / a0;
        }
        f.m_b2 = f.m_b0;
        f.m_a1 = -2.0 * c / a0;
        f.m_a2 = (1.0 - alpha) / a0;
        return f;
    }

    double m_b0 = 1, m_b1 = 0, m_b2 = 0, m_a1 = 0, m_a2 = 0;
    double m_z1 = 0, m_z2 = 0;
};

}  // namespace somatrix
