#include "recording/edf_recorder.h"

#include <edflib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "protocol/frame.h"
#include "recording/edf_annotations.h"
#include "recording/edf_start_time.h"

namespace somatrix {

namespace {

constexpr int64_t kNsPerSecond = 1'000'000'000;

// Header fields are printable ASCII; anything else becomes '_'.
std::string Ascii(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        out += (u >= 0x20 && u < 0x7F) ? (c == ' ' ? '_' : c) : '_';
    }
    return out;
}

}  // namespace

CEdfRecorder::CEdfRecorder(const CRecordingClock& clock) : m_clock(clock) {}

CEdfRecorder::~CEdfRecorder() {
    Close();
}

bool CEdfRecorder::Open(const std::string& path, const CRecordingInfo& info, std::string& error) {
    Close();
    m_specs = RecordingSignals(info.m_nType);
    m_bHasWaveform = std::any_of(m_specs.begin(), m_specs.end(),
                                 [](const CSignalSpec& s) { return !s.m_bHeld; });
    if (!m_journal.Open(CAnnotationJournal::PathFor(path))) {
        error = "cannot write " + CAnnotationJournal::PathFor(path);
        return false;
    }
    const int handle = edfopen_file_writeonly(path.c_str(), EDFLIB_FILETYPE_EDFPLUS,
                                              static_cast<int>(m_specs.size()));
    if (handle < 0) {
        m_journal.Close(true);
        error = "cannot create " + path + " (EDFlib " + std::to_string(handle) + ")";
        return false;
    }
    m_nHandle = handle;
    m_strPath = path;
    m_strError.clear();
    m_info = info;
    m_annotations.clear();
    m_nStage = EStage::kWaiting;
    m_nOpenSteady = m_clock.SteadyNs();
    m_nFirstSteady = m_nOpenSteady;
    m_nFirstWall = m_clock.WallNs();
    m_estimate.Clear();
    m_early.clear();
    m_nRate = 0;
    m_latest = m_last = {-1, -1, -1};
    m_record.assign(m_specs.size(), {});
    m_nFill = 0;
    m_nPos = 0;
    m_nRecords = 0;
    m_nDrop = 0;
    m_bPaused = m_bInGap = false;
    return true;
}

double CEdfRecorder::NowSeconds() const {
    if (m_nStage == EStage::kWaiting) {
        return 0.0;
    }
    return static_cast<double>(m_clock.SteadyNs() - m_nFirstSteady) / 1e9;
}

double CEdfRecorder::ElapsedSeconds() const {
    if (!IsOpen()) {
        return 0.0;
    }
    return static_cast<double>(m_clock.SteadyNs() - m_nOpenSteady) / 1e9;
}

void CEdfRecorder::AddSample(int a, int b, int c) {
    if (!IsOpen()) {
        return;
    }
    if (!Suspended()) {
        for (int k = 0; k < 3; ++k) {
            const int v = k == 0 ? a : (k == 1 ? b : c);
            if (v >= 0) {
                m_latest[static_cast<size_t>(k)] = v;
            }
        }
    }
    if (m_nStage == EStage::kWaiting) {
        m_nStage = m_bHasWaveform ? EStage::kEstimating : EStage::kWriting;
        m_nFirstSteady = m_clock.SteadyNs();
        m_nFirstWall = m_clock.WallNs();
        if (!m_bHasWaveform) {
            StartWriting();
        }
    }
    if (!m_bHasWaveform) {
        EmitHeldRecordsToNow();
        return;
    }
    if (m_nStage == EStage::kEstimating) {
        const int64_t now = m_clock.SteadyNs();
        m_estimate.Add(now);
        m_early.push_back(Suspended() ? std::array<int, 3>{-1, -1, -1}
                                      : std::array<int, 3>{a, b, c});
        if (now - m_nFirstSteady >= kEstimateNs) {
            StartWriting();
        }
        return;
    }
    if (Suspended()) {
        return;
    }
    if (m_nDrop > 0) {
        --m_nDrop;  // the sensor runs ahead of the wall clock
        return;
    }
    if (Push({a, b, c})) {
        CorrectDrift();
    }
}

void CEdfRecorder::SetValues(int a, int b, int c, int /*d*/) {
    if (!IsOpen() || Suspended()) {
        return;
    }
    const int v[3] = {a, b, c};
    for (size_t k = 0; k < 3; ++k) {
        if (v[k] >= 0) {
            m_latest[k] = v[k];
        }
    }
}

void CEdfRecorder::SetResultValues(int a, int b, int c, int /*d*/) {
    if (!IsOpen() || b < 0 ||
        (m_info.m_nType != type::kBloodPressure && m_info.m_nType != type::kBloodPressureV2)) {
        return;
    }
    char text[128];
    std::snprintf(text, sizeof text, recording_text::kPressureResult, a, b, c);
    AddAnnotation(text);
}

double CEdfRecorder::AddAnnotation(const std::string& text) {
    if (!IsOpen()) {
        return 0.0;
    }
    double onset = NowSeconds();
    if (m_nStage == EStage::kWriting && m_bHasWaveform && !Suspended()) {
        onset = static_cast<double>(m_nPos) / m_nRate;  // the sample that arrives next
    }
    Annotate(onset, text);
    return onset;
}

void CEdfRecorder::AddAnnotationAt(double onset, const std::string& text) {
    if (IsOpen()) {
        Annotate(onset, text);
    }
}

void CEdfRecorder::Annotate(double onset, const std::string& text) {
    CAnnotation a{onset, -1.0, text};
    if (!m_journal.Append(a)) {
        m_strError = "cannot write the journal of " + m_strPath;
    }
    m_annotations.push_back(std::move(a));
}

void CEdfRecorder::Pause() {
    if (!IsOpen() || m_bPaused) {
        return;
    }
    if (!Suspended()) {
        AddAnnotation(recording_text::kPause);
        m_latest = {-1, -1, -1};
    }
    m_bPaused = true;
}

void CEdfRecorder::Resume() {
    if (!IsOpen() || !m_bPaused) {
        return;
    }
    m_bPaused = false;
    if (!Suspended()) {
        FillToNow(0);
        AddAnnotation(recording_text::kResume);
    }
}

void CEdfRecorder::BeginGap(const std::string& text) {
    if (!IsOpen() || m_bInGap) {
        return;
    }
    if (!Suspended()) {
        AddAnnotation(text);
        m_latest = {-1, -1, -1};
    }
    m_bInGap = true;
}

void CEdfRecorder::EndGap(const std::string& text) {
    if (!IsOpen() || !m_bInGap) {
        return;
    }
    m_bInGap = false;
    if (!Suspended()) {
        FillToNow(0);
        AddAnnotation(text);
    }
}

void CEdfRecorder::Tick() {
    if (!IsOpen() || m_nStage == EStage::kWaiting) {
        return;
    }
    if (!m_bHasWaveform) {
        EmitHeldRecordsToNow();
        return;
    }
    if (m_nStage == EStage::kEstimating) {
        if (m_clock.SteadyNs() - m_nFirstSteady >= kEstimateNs) {
            StartWriting();
        }
        return;
    }
    if (Suspended()) {
        // Keep the file growing through a long pause, so a crash loses no more than a second.
        FillToNow(m_nRate);
        return;
    }
    // A sensor that stalls without the link being lost: "no data" once it is 2 s behind.
    const int64_t expected = DueSamples();
    if (expected - m_nPos > 2 * static_cast<int64_t>(m_nRate)) {
        FillToNow(m_nRate / 4);
    }
}

int64_t CEdfRecorder::DueSamples() const {
    // Sample 0 arrived at m_nFirstSteady, sample k a k-th of the rate later.
    return (m_clock.SteadyNs() - m_nFirstSteady) * static_cast<int64_t>(m_nRate) / kNsPerSecond + 1;
}

void CEdfRecorder::StartWriting() {
    m_nRate = m_bHasWaveform ? std::max<uint32_t>(1, m_estimate.Rate()) : 1;
    const int h = m_nHandle;
    for (size_t k = 0; k < m_specs.size(); ++k) {
        const CSignalSpec& s = m_specs[k];
        const int signal = static_cast<int>(k);
        edf_set_samplefrequency(h, signal, s.m_bHeld ? 1 : static_cast<int>(m_nRate));
        edf_set_digital_minimum(h, signal, kNoData);
        edf_set_digital_maximum(h, signal, kMaxValue - kDigitalShift);
        edf_set_physical_minimum(h, signal, -1.0 * s.m_fScale);
        edf_set_physical_maximum(h, signal, kMaxValue * s.m_fScale);
        edf_set_label(h, signal, s.m_strLabel.c_str());
        edf_set_physical_dimension(h, signal, s.m_strUnit.c_str());
        m_record[k].assign(s.m_bHeld ? 1 : m_nRate, static_cast<int16_t>(kNoData));
    }
    SetEdfStartTime(h, static_cast<int64_t>(m_nFirstWall / kNsPerSecond),
                    static_cast<int>(m_nFirstWall % kNsPerSecond / 1'000'000));
    // One subfield of the recording field: sensor, device number and production date.
    std::string equipment = SensorTag(m_info.m_nType);
    if (!m_info.m_strDeviceNumber.empty()) {
        equipment += "_" + Ascii(m_info.m_strDeviceNumber);
    }
    if (!m_info.m_strProductionDate.empty()) {
        equipment += "_" + Ascii(m_info.m_strProductionDate);
    }
    edf_set_equipment(h, equipment.c_str());
    m_nStage = EStage::kWriting;

    std::vector<std::array<int, 3>> early;
    early.swap(m_early);
    for (const auto& readings : early) {
        Push(readings);
    }
    m_estimate.Clear();
}

bool CEdfRecorder::Push(const std::array<int, 3>& readings) {
    if (readings[0] >= 0 || readings[1] >= 0 || readings[2] >= 0) {
        m_last = readings;
    }
    for (size_t k = 0; k < m_specs.size(); ++k) {
        if (!m_specs[k].m_bHeld) {
            m_record[k][m_nFill] = DigitalOf(readings[static_cast<size_t>(m_specs[k].m_nReading)]);
        }
    }
    ++m_nPos;
    if (++m_nFill < m_nRate) {
        return false;
    }
    WriteRecord();
    return true;
}

void CEdfRecorder::CorrectDrift() {
    // Keep the file's clock on the wall clock: drop or repeat a few samples a second when the
    // sensor runs faster or slower than the rounded rate.
    const auto rate = static_cast<int64_t>(m_nRate);
    const int64_t expected = DueSamples();
    const int64_t ahead = m_nPos - expected;
    const int64_t step = std::max<int64_t>(1, rate / 50);
    if (ahead > rate / 2) {
        m_nDrop = std::min(ahead - rate / 4, step);
    } else if (ahead < -rate / 2 && ahead > -2 * rate) {
        const std::array<int, 3> repeat = m_last;
        for (int64_t i = std::min(-ahead - rate / 4, step); i > 0 && IsOpen(); --i) {
            Push(repeat);
        }
    }
}

void CEdfRecorder::WriteRecord() {
    for (size_t k = 0; k < m_specs.size(); ++k) {
        if (m_specs[k].m_bHeld) {
            m_record[k][0] =
                DigitalOf(Suspended() ? -1 : m_latest[static_cast<size_t>(m_specs[k].m_nReading)]);
        }
        if (edfwrite_digital_short_samples(m_nHandle, m_record[k].data()) != 0) {
            Fail("cannot write " + m_strPath);
            return;
        }
    }
    // EDFlib writes through a stdio buffer: hand every finished second to the system, so that a
    // killed program loses at most the second it was in.
    std::fflush(nullptr);
    m_nFill = 0;
    ++m_nRecords;
}

void CEdfRecorder::FillToNow(int64_t slackSamples) {
    if (m_nStage != EStage::kWriting) {
        return;
    }
    if (!m_bHasWaveform) {
        EmitHeldRecordsToNow();
        return;
    }
    const int64_t expected = DueSamples() - slackSamples;
    m_nDrop = 0;
    while (m_nPos < expected && IsOpen()) {
        Push({-1, -1, -1});
    }
}

void CEdfRecorder::EmitHeldRecordsToNow() {
    if (m_nStage != EStage::kWriting) {
        return;
    }
    const int64_t due = (m_clock.SteadyNs() - m_nFirstSteady) / kNsPerSecond;
    while (m_nRecords < due && IsOpen()) {
        WriteRecord();
    }
}

void CEdfRecorder::Fail(const std::string& error) {
    m_strError = error;
    edfclose_file(m_nHandle);
    m_nHandle = -1;
    m_journal.Close(false);
}

bool CEdfRecorder::Close(std::string* error) {
    if (!IsOpen()) {
        if (error != nullptr) {
            *error = m_strError;
        }
        return m_strError.empty();
    }
    if (m_nStage != EStage::kWriting) {
        StartWriting();
    }
    if (m_bHasWaveform) {
        while (m_nFill != 0 && IsOpen()) {
            Push({-1, -1, -1});  // complete the last second with "no data"
        }
    }
    if (m_nRecords == 0 && IsOpen()) {
        if (m_bHasWaveform) {
            for (uint32_t i = 0; i < m_nRate && IsOpen(); ++i) {
                Push({-1, -1, -1});
            }
        } else {
            WriteRecord();
        }
    }
    if (!IsOpen()) {
        if (error != nullptr) {
            *error = m_strError;
        }
        return false;
    }
    edfclose_file(m_nHandle);
    m_nHandle = -1;
    std::string placeError;
    if (!PlaceAnnotations(m_strPath, m_annotations, placeError)) {
        m_strError = placeError;
        m_journal.Close(false);  // a later repair tries again
    } else {
        m_journal.Close(true);
    }
    if (error != nullptr) {
        *error = m_strError;
    }
    return m_strError.empty();
}

}  // namespace somatrix
