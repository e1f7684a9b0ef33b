#pragma once
// A sink that writes down every call as a line, in order, so tests compare whole sequences.
#include <string>
#include <vector>

#include "protocol/monitor_sink.h"

namespace somatrix::test {

class CRecordingSink : public CMonitorSink {
public:
    std::vector<std::string> m_lines;
    std::vector<std::string> m_messages;
    CControlStates m_controls;
    std::vector<std::string> m_modeItems;
    std::string m_strStatus;
    std::string m_strInfo;
    int m_nGainText = -1;
    bool m_bLogOpen = false;

    void SetValues(int a, int b, int c, int d) override {
        Add("values", {a, b, c, d});
    }
    void SetResultValues(int a, int b, int c, int d) override { Add("result", {a, b, c, d}); }
    void SetMaxMin(bool on, int max1, int min1, int max2, int min2) override {
        Add("maxmin", {on, max1, min1, max2, min2});
    }
    void SetAmplitude(int amplitude) override { Add("amplitude", {amplitude}); }
    void SetMeasuring(bool measuring) override { Add("measuring", {measuring}); }
    void AddSample(int a, int b, int c) override { Add("sample", {a, b, c}); }
    void DeviceNumberRead(int, const std::string& text) override {
        m_lines.push_back("devnum " + text);
    }
    void ProductionDateRead(int, const std::string& text) override {
        m_lines.push_back("date " + text);
    }
    void FlagsChanged(const CMeasurementFlags& f) override {
        Add("flags", {f.m_bMeasuring, f.m_bStartRequested, f.m_bStopRequested});
    }
    void SetControlStates(const CControlStates& states) override { m_controls = states; }
    void SetModeItems(const std::vector<std::string>& items) override { m_modeItems = items; }
    void SetStatusText(const std::string& text) override { m_strStatus = text; }
    void SetInfoLine(const std::string& text) override { m_strInfo = text; }
    void SetGainText(int gain) override { m_nGainText = gain; }
    void LogStateChanged(bool open) override { m_bLogOpen = open; }
    void ShowMessage(const std::string& text) override { m_messages.push_back(text); }

    // Lines recorded since the last call.
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(m_lines);
        return out;
    }

private:
    void Add(const char* name, std::initializer_list<int> values) {
        std::string line = name;
        for (const int v : values) {
            line += ' ' + std::to_string(v);
        }
        m_lines.push_back(line);
    }
};

}  // namespace somatrix::test
