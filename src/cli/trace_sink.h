#pragma once
// The command-line tools' sink: with tracing on, one line per call the receive path makes towards
// the display, in order, integers in decimal. Messages for the operator go to standard error.
#include <cstdio>

#include "protocol/monitor_sink.h"

namespace somatrix {

class CTraceSink : public CMonitorSink {
public:
    CTraceSink(std::FILE* out, bool trace) : m_pOut(out), m_bTrace(trace) {}

    void SetValues(int a, int b, int c, int d) override;
    void SetMaxMin(bool on, int max1, int min1, int max2, int min2) override;
    void SetAmplitude(int amplitude) override;
    void SetMeasuring(bool measuring) override;
    void AddSample(int a, int b, int c) override;
    void DeviceNumberRead(int index, const std::string& text) override;
    void ProductionDateRead(int index, const std::string& text) override;
    void FlagsChanged(const CMeasurementFlags& flags) override;
    void ShowMessage(const std::string& text) override;

private:
    std::FILE* m_pOut;
    bool m_bTrace;
};

}  // namespace somatrix
