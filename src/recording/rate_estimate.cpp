#include "recording/rate_estimate.h"

#include <algorithm>
#include <cmath>

namespace somatrix {

void CRateEstimate::Add(int64_t ns, uint32_t count) {
    m_nSamples += count;
    if (!m_batches.empty() && m_batches.back().m_nNs == ns) {
        m_batches.back().m_nTotal = m_nSamples;
    } else {
        m_batches.push_back({ns, m_nSamples});
    }
}

void CRateEstimate::Clear() {
    m_batches.clear();
    m_nSamples = 0;
}

int64_t CRateEstimate::SpanNs() const {
    return m_batches.empty() ? 0 : m_batches.back().m_nNs - m_batches.front().m_nNs;
}

uint32_t CRateEstimate::Rate() const {
    if (m_batches.empty()) {
        return 0;
    }
    if (m_batches.size() < 3) {
        const double seconds = static_cast<double>(SpanNs()) / 1e9;
        const double rate = seconds > 0 ? static_cast<double>(m_nSamples) / seconds
                                        : static_cast<double>(m_nSamples);
        return static_cast<uint32_t>(std::max(1.0, std::round(rate)));
    }
    // Slope of the samples received over time.
    const int64_t t0 = m_batches.front().m_nNs;
    double st = 0, sc = 0;
    for (const CBatch& b : m_batches) {
        st += static_cast<double>(b.m_nNs - t0) / 1e9;
        sc += static_cast<double>(b.m_nTotal);
    }
    const auto n = static_cast<double>(m_batches.size());
    const double mt = st / n;
    const double mc = sc / n;
    double cov = 0, var = 0;
    for (const CBatch& b : m_batches) {
        const double dt = static_cast<double>(b.m_nNs - t0) / 1e9 - mt;
        cov += dt * (static_cast<double>(b.m_nTotal) - mc);
        var += dt * dt;
    }
    const double rate = var > 0 ? cov / var : static_cast<double>(m_nSamples);
    // Samples handed over in bursts at a timer's pace blur a fast rate by a few tenths of a
    // percent over 2 s (1 kHz reads as 999.4). Sensors sample at round rates: within a quarter
    // of a percent of a multiple of ten, that is the rate.
    const double round10 = std::round(rate / 10.0) * 10.0;
    if (round10 > 0 && std::fabs(rate - round10) <= 0.0025 * rate) {
        return static_cast<uint32_t>(round10);
    }
    return static_cast<uint32_t>(std::max(1.0, std::round(rate)));
}

}  // namespace somatrix
