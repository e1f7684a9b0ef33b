#pragma once
// State and layout of the numeric information panel: the selected sensor's name, its current
// values, the running extremes and the heart-sound amplitude, laid out per sensor type as text
// items at pixel positions. The panel window owns one, forwards the hub's calls to it and paints
// the items; Description() gives the same rows as lines for assistive technology.
// Used on the GUI thread only.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace somatrix {

struct CInfoItem {
    enum EFont { kSmall, kLarge };  // small for the header, large for the values
    enum EColour { kHeader, kValue };
    std::string m_strText;  // UTF-8
    int m_nX = 0;
    int m_nY = 0;           // top of the text
    bool m_bRight = false;  // m_nX is the right edge
    EFont m_eFont = kLarge;
    EColour m_eColour = kValue;
    int m_nRow = -1;  // value row 0 to 3, -1 for the header
    bool operator==(const CInfoItem&) const = default;
};

class CInfoPanel {
public:
    static constexpr int kHeaderHeight = 30;
    static constexpr int kValueTop = 36;
    static constexpr std::array<int, 4> kRowOffsets = {4, 32, 64, 96};

    // Values of a data frame (or of a start, all −1): the live layout of the type.
    void SetValues(int v1, int v2, int v3, int v4);
    // Values of a blood-pressure result or end frame: only these make result rows.
    void SetResultValues(int v1, int v2, int v3, int v4);
    // Returns whether the switch changed (the header band then needs a repaint as well).
    bool SetMaxMin(bool on, int max1, int min1, int max2, int min2);
    // A new device: its values, extremes and amplitude belong to the previous one and go.
    void SetSensor(uint8_t type, const std::string& name);
    void SetMeasuring(bool measuring) { m_bMeasuring = measuring; }
    void SetAmplitude(int amplitude) { m_nAmplitude = amplitude; }
    // The heart-rate row of the ECG and pulse panels, beside the specified rows: off until a
    // window turns it on; `bpm` -1 while the rate is unknown.
    void ShowHeartRate(bool shown) { m_bHeartRateRow = shown; }
    void SetHeartRate(int bpm) { m_nHeartRate = bpm; }
    int HeartRate() const { return m_nHeartRate; }

    // Everything the panel shows in a client area of this size, header first.
    std::vector<CInfoItem> Layout(int width, int height) const;
    // The rows shown, one line each: the header, then each value row with its extremes.
    std::string Description() const;

    uint8_t Type() const { return m_nType; }
    const std::string& Name() const { return m_strName; }
    int Value(int i) const { return m_nValue[static_cast<size_t>(i)]; }
    bool Measuring() const { return m_bMeasuring; }
    bool MaxMin() const { return m_bMaxMin; }
    bool Result() const { return m_bResult; }
    int Amplitude() const { return m_nAmplitude; }

private:
    uint8_t m_nType = 0;
    std::string m_strName;
    std::array<int, 4> m_nValue = {-1, -1, -1, -1};
    bool m_bMeasuring = true;
    bool m_bMaxMin = false;
    int m_nMax1 = -1;
    int m_nMax2 = -1;
    int m_nMin1 = -1;
    int m_nMin2 = -1;
    int m_nAmplitude = 0;
    bool m_bResult = false;  // the values came from a result or end frame
    bool m_bHeartRateRow = false;
    int m_nHeartRate = -1;
};

}  // namespace somatrix
