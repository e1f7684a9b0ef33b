#include "protocol/sample_decoder.h"

#include <cstdlib>

#include "discovery/data_log.h"
#include "protocol/frame.h"
#include "protocol/monitor_sink.h"

namespace somatrix {

namespace {

int Word(const uint8_t* f, size_t hi) { return f[hi] * 256 + f[hi + 1]; }

constexpr int kEmgSamplesPerFrame = 24;
constexpr int kEmgMaximum = 2048;
constexpr size_t kHeartSoundSamplesPerFrame = 50;

// Widens [min, max] to take in `v`; a minimum below zero means none yet. True when it changed.
bool Extend(int v, int& max, int& min) {
    bool changed = false;
    if (v > max) {
        max = v;
        changed = true;
    }
    if (min < 0 || v < min) {
        min = v;
        changed = true;
    }
    return changed;
}

}  // namespace

bool CExtremes::Track(int a, int b) {
    bool changed = false;
    if (a >= 0) {
        changed |= Extend(a, m_nMax1, m_nMin1);
    }
    if (b >= 0) {
        changed |= Extend(b, m_nMax2, m_nMin2);
    }
    return changed;
}

bool CExtremes::TrackWindow(int s) {
    if (m_nWindowCount >= kWindowSamples) {
        return true;
    }
    ++m_nWindowCount;
    if (s >= 0) {
        Extend(s, m_nWindowMax, m_nWindowMin);
    }
    return false;
}

void CExtremes::ResetWindow() {
    m_nWindowMax = 0;
    m_nWindowMin = 255;
    m_nWindowCount = 0;
}

CBpResult DecodeBpResult(const uint8_t* f) {
    return {(f[5] & 0x7F) * 256 + f[6], Word(f, 7), f[9], f[5] & 0x80};
}

void CSampleDecoder::DecodeDataFrame(const uint8_t* f, size_t n) {
    const uint8_t t = f[kPosType];
    if (t == type::kEmg) {
        DecodeEmg(f);
        return;
    }
    int r1 = -1, r2 = -1, r3 = -1;
    switch (t) {
        case type::kBloodPressureV2:
        case type::kBloodPressure:
            if (n >= 7) {
                r1 = (f[5] & 0x0F) * 256 + f[6];
                r2 = f[5] & 0x10;
                m_log.WriteParsed(r1, r2, 0, 0, false);
            }
            break;
        case type::kGastro:
            if (n >= 9) {
                r1 = Word(f, 5);
                r2 = Word(f, 7);
                m_log.WriteParsed(r1, r2, 0, 0, false);
            }
            break;
        case type::kSkinResistance:
            if (n >= 7) {
                r1 = Word(f, 5);
                m_log.WriteParsed(r1, 0, 0, 0, true);
            }
            break;
        case type::kBloodOxygen:
            if (n >= 8) {
                r1 = f[5];
                r2 = f[6];
                r3 = f[7];
                m_log.WriteParsed(r1, r2, r3, 0, false);
            }
            break;
        case type::kHeartRate:
        case type::kBodyTemperature:
        case type::kPulse:
        case type::kInfraredPulse:
        case type::kRespiration:
        case type::kEcg:
            if (n >= 7) {
                r1 = Word(f, 5);
                m_log.WriteParsed(r1, 0, 0, 0, false);
            }
            break;
        case type::kHeartSound:
            if (n >= kPosPayload + kHeartSoundSamplesPerFrame) {
                r1 = f[5];
                m_log.WriteParsed(r1, 0, 0, 0, false);
            }
            break;
        default:  // skin temperature and the uncatalogued codes carry nothing we decode
            break;
    }
    m_sink.SetValues(r1, r2, r3, -1);
    m_sink.AddSample(r1, r2, r3);
    if (m_extremes.m_bMaxMin) {
        FeedExtremes(t, f, r1, r2);
    }
}

void CSampleDecoder::DecodeEmg(const uint8_t* f) {
    // The frame's length is not checked: the zero-filled frame buffer yields zeros past it.
    for (int k = 0; k < kEmgSamplesPerFrame; ++k) {
        const int s = Word(f, kPosPayload + 2 * static_cast<size_t>(k));
        if (s <= kEmgMaximum) {
            m_sink.SetValues(s, -1, -1, -1);
            m_sink.AddSample(s, -1, -1);
            m_log.WriteParsed(s, 0, 0, 0, false);
        }
    }
}

void CSampleDecoder::FeedExtremes(uint8_t t, const uint8_t* f, int r1, int r2) {
    CExtremes& x = m_extremes;
    if (t != type::kHeartSound) {
        if (x.Track(r1, r2)) {
            m_sink.SetMaxMin(x.m_bMaxMin, x.m_nMax1, x.m_nMin1, x.m_nMax2, x.m_nMin2);
        }
        return;
    }
    for (size_t i = 0; i < kHeartSoundSamplesPerFrame; ++i) {
        if (x.TrackWindow(f[kPosPayload + i])) {
            m_sink.SetMaxMin(x.m_bMaxMin, x.m_nWindowMax, x.m_nWindowMin, x.m_nMax2, x.m_nMin2);
            m_sink.SetAmplitude(std::abs(x.m_nWindowMax - x.m_nWindowMin));
            x.ResetWindow();
        }
    }
}

void CSampleDecoder::ClearExtremes() {
    CExtremes& x = m_extremes;
    x.m_nMax1 = x.m_nMin1 = x.m_nMax2 = x.m_nMin2 = -1;
    x.ResetWindow();
    m_sink.SetMaxMin(x.m_bMaxMin, x.m_nMax1, x.m_nMin1, x.m_nMax2, x.m_nMin2);
    m_sink.SetAmplitude(0);
}

void CSampleDecoder::SetMaxMinSwitch(bool on) {
    CExtremes& x = m_extremes;
    x.m_bMaxMin = on;
    if (on) {
        x.m_nMax1 = x.m_nMin1 = x.m_nMax2 = x.m_nMin2 = -1;
    }
    m_sink.SetMaxMin(x.m_bMaxMin, x.m_nMax1, x.m_nMin1, x.m_nMax2, x.m_nMin2);
}

}  // namespace somatrix
