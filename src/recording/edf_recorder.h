#pragma once
// Records what a sensor delivers into an EDF+ file (through EDFlib), one data record a second.
//
// Fed like the hub's sink: AddSample per decoded sample, SetValues for the slow readings,
// SetResultValues for a blood-pressure result (written as an annotation). The rate is measured
// from the samples of the first 2 s (CRateEstimate) and rounded; writing starts once it is known.
// Paused or disconnected stretches keep the file continuous (EDF+C): their samples hold the
// digital minimum ("no data") and annotations mark their ends, so every later time is true.
// Against the wall clock the file never drifts: when the sensor delivers faster or slower than
// the rounded rate, single samples are dropped or repeated so the file's clock stays within half
// a second of the wall clock. Annotations go to a journal beside the file as they are made; a
// recording cut short is repaired from it (edf_repair.h).
//
// Owned by the window or by somatrix-cli record; one thread; time comes from a CRecordingClock.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "recording/annotation.h"
#include "recording/annotation_journal.h"
#include "recording/rate_estimate.h"
#include "recording/recording_clock.h"
#include "recording/recording_signals.h"
#include "recording/recording_texts.h"

namespace somatrix {

struct CRecordingInfo {
    uint8_t m_nType = 0;
    std::string m_strSensor;          // short name (shown to the operator)
    std::string m_strDeviceNumber;    // as the sensor reported it; may be empty
    std::string m_strProductionDate;  // as the sensor reported it; may be empty
};

class CEdfRecorder {
public:
    static constexpr int64_t kEstimateNs = 2'000'000'000;

    explicit CEdfRecorder(const CRecordingClock& clock);
    ~CEdfRecorder();
    CEdfRecorder(const CEdfRecorder&) = delete;
    CEdfRecorder& operator=(const CEdfRecorder&) = delete;

    // Creates the file and its journal; false with `error` set when they cannot be written.
    bool Open(const std::string& path, const CRecordingInfo& info, std::string& error);
    bool IsOpen() const { return m_nHandle >= 0; }

    // One decoded sample (the readings the live plot receives).
    void AddSample(int a, int b, int c);
    // The latest slow readings.
    void SetValues(int a, int b, int c, int d);
    // A blood-pressure result (systolic, diastolic, rate, flag) or end frame (code, -1, -1, -1).
    void SetResultValues(int a, int b, int c, int d);
    // An annotation at this moment; returns its onset in seconds from the start.
    double AddAnnotation(const std::string& text);

    void Pause();
    void Resume();
    bool IsPaused() const { return m_bPaused; }
    // The link to the sensor is lost, and back: "no data" in between, with annotations.
    void BeginGap(const std::string& text = recording_text::kDisconnected);
    void EndGap(const std::string& text = recording_text::kReconnected);

    // Lets time pass without samples (slow sensors, stalls); call a few times a second.
    void Tick();
    // Writes what is pending (the last second is completed with "no data"), closes the file,
    // writes the annotations into it and removes the journal. False with `error` when the file
    // could not be completed; what was written stays.
    bool Close(std::string* error = nullptr);

    // State for the status bar.
    const std::string& Path() const { return m_strPath; }
    uint32_t Rate() const { return m_nRate; }  // 0 while it is measured
    double ElapsedSeconds() const;
    const std::vector<CAnnotation>& Annotations() const { return m_annotations; }
    long long RecordsWritten() const { return m_nRecords; }
    const std::string& LastError() const { return m_strError; }

private:
    enum class EStage { kWaiting, kEstimating, kWriting };

    bool Suspended() const { return m_bPaused || m_bInGap; }
    double NowSeconds() const;
    void StartWriting();
    // Appends one sample of every waveform signal (readings, or -1 for no data); true when it
    // completed a record.
    bool Push(const std::array<int, 3>& readings);
    void CorrectDrift();
    // Waveform samples the sensor has delivered by now at the file's rate.
    int64_t DueSamples() const;
    void WriteRecord();
    // "No data" up to the sample that the wall clock has reached (less `slackSamples`).
    void FillToNow(int64_t slackSamples);
    void EmitHeldRecordsToNow();
    void Annotate(double onset, const std::string& text);
    void Fail(const std::string& error);

    const CRecordingClock& m_clock;
    int m_nHandle = -1;
    std::string m_strPath;
    std::string m_strError;
    CRecordingInfo m_info;
    std::vector<CSignalSpec> m_specs;
    bool m_bHasWaveform = false;
    CAnnotationJournal m_journal;
    std::vector<CAnnotation> m_annotations;

    EStage m_nStage = EStage::kWaiting;
    int64_t m_nFirstSteady = 0;
    int64_t m_nFirstWall = 0;
    int64_t m_nOpenSteady = 0;
    CRateEstimate m_estimate;
    std::vector<std::array<int, 3>> m_early;  // samples of the first seconds, -1 when suspended
    uint32_t m_nRate = 0;

    std::array<int, 3> m_latest{-1, -1, -1};
    std::array<int, 3> m_last{-1, -1, -1};
    std::vector<std::vector<int16_t>> m_record;  // one buffer per signal
    uint32_t m_nFill = 0;                        // waveform samples in the current record
    int64_t m_nPos = 0;                          // waveform samples accounted in the file
    long long m_nRecords = 0;
    int64_t m_nDrop = 0;
    bool m_bPaused = false;
    bool m_bInGap = false;
};

}  // namespace somatrix
