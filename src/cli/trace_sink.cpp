#include "cli/trace_sink.h"

namespace somatrix {

void CTraceSink::SetValues(int a, int b, int c, int d) {
    if (m_bTrace) {
        std::fprintf(m_pOut, "values %d %d %d %d\n", a, b, c, d);
    }
}

void CTraceSink::SetMaxMin(bool on, int max1, int min1, int max2, int min2) {
    if (m_bTrace) {
        std::fprintf(m_pOut, "maxmin %d %d %d %d %d\n", on ? 1 : 0, max1, min1, max2, min2);
    }
}

void CTraceSink::SetAmplitude(int amplitude) {
    if (m_bTrace) {
        std::fprintf(m_pOut, "amplitude %d\n", amplitude);
    }
}

void CTraceSink::SetMeasuring(bool measuring) {
    if (m_bTrace) {
        std::fprintf(m_pOut, "measuring %d\n", measuring ? 1 : 0);
    }
}

void CTraceSink::AddSample(int a, int b, int c) {
    if (m_bTrace) {
        std::fprintf(m_pOut, "sample %d %d %d\n", a, b, c);
    }
}

void CTraceSink::DeviceNumberRead(int /*index*/, const std::string& text) {
    if (m_bTrace) {
        std::fprintf(m_pOut, "devnum %s\n", text.c_str());
    }
}

void CTraceSink::ProductionDateRead(int /*index*/, const std::string& text) {
    if (m_bTrace) {
        std::fprintf(m_pOut, "date %s\n", text.c_str());
    }
}

void CTraceSink::FlagsChanged(const CMeasurementFlags& flags) {
    if (m_bTrace) {
        std::fprintf(m_pOut, "flags %d %d %d\n", flags.m_bMeasuring, flags.m_bStartRequested,
                     flags.m_bStopRequested);
    }
}

void CTraceSink::ShowMessage(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace somatrix
