#pragma once
// Turns checked data frames into up to three readings (-1 = absent) by the frame's type code and
// hands them on at once: information panel, live view, parsed log, and the running extremes.
// Owned by the operation panel's hub and called from its receive path; constant work per frame,
// no allocation.
#include <cstddef>
#include <cstdint>

namespace somatrix {

class CMonitorSink;
class CDataLog;

// Running maxima and minima of the two first readings, -1 meaning none yet, and the heart-sound
// window of 12000 samples whose span is shown as the amplitude.
struct CExtremes {
    static constexpr int kWindowSamples = 12000;

    bool m_bMaxMin = false;  // the extremes switch
    int m_nMax1 = -1, m_nMin1 = -1, m_nMax2 = -1, m_nMin2 = -1;
    int m_nWindowCount = 0, m_nWindowMax = 0, m_nWindowMin = 255;

    // Feeds (a, b); true when any extreme changed.
    bool Track(int a, int b);
    // Feeds one heart-sound sample; true when the window was already full (the sample is then
    // not counted).
    bool TrackWindow(int s);
    void ResetWindow();
};

struct CBpResult {
    int m_nSystolic, m_nDiastolic, m_nPulseRate, m_nIrregular;
};
// Blood-pressure result payload (frame of at least 10 bytes).
CBpResult DecodeBpResult(const uint8_t* frame);

class CSampleDecoder {
public:
    CSampleDecoder(CMonitorSink& sink, CDataLog& log) : m_sink(sink), m_log(log) {}

    // `frame` is the scanner's zero-filled frame buffer (kFrameBufferBytes) holding `n` bytes.
    void DecodeDataFrame(const uint8_t* frame, size_t n);

    // The extremes button: on resets the four extremes; the new state goes to the panel.
    void SetMaxMinSwitch(bool on);
    // A device selection: both pairs and the heart-sound window start afresh, and the panel is
    // told (SetMaxMin with the switch and -1 for every extreme, then SetAmplitude(0)).
    void ClearExtremes();
    const CExtremes& Extremes() const { return m_extremes; }

private:
    void DecodeEmg(const uint8_t* frame);
    void FeedExtremes(uint8_t type, const uint8_t* frame, int r1, int r2);

    CMonitorSink& m_sink;
    CDataLog& m_log;
    CExtremes m_extremes;
};

}  // namespace somatrix
