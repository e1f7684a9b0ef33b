#pragma once
// The window's waveform recording: a CEdfRecorder fed from the operation panel's sink (the same
// samples the live plot gets), started, paused and stopped from the File menu, with markers.
// It ends by itself when the measurement ends, another device is selected or the link is lost;
// the file is kept. Files go to the Data folder, named after the sensor and the local start
// time ("ECG_20261210_143005.edf"). GUI thread only.
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "protocol/monitor_sink.h"
#include "recording/edf_recorder.h"

namespace somatrix {

class CWaveRecorder : public QObject, public CMonitorSink {
    Q_OBJECT
public:
    explicit CWaveRecorder(QObject* parent = nullptr);
    ~CWaveRecorder() override;

    // Starts a recording of the sensor in `folder`; false with `error` set when the file cannot
    // be created.
    bool Start(const QString& folder, const CRecordingInfo& info, QString& error);
    void TogglePause();
    void Stop();
    // "标记 N" at this moment.
    void AddMarker();

    bool IsRecording() const { return m_recorder.IsOpen(); }
    bool IsPaused() const { return m_recorder.IsPaused(); }
    int MarkerCount() const { return m_nMarkers; }
    QString Path() const { return m_strPath; }
    QString SensorName() const { return m_strSensor; }
    // The status bar's text while recording.
    QString StateText() const;
    // Lets a test run the recording on a virtual clock (before Start).
    void SetClock(const CRecordingClock* clock) { m_clock.m_pClock = clock; }

    // What the panel shows, tapped.
    void AddSample(int a, int b, int c) override { m_recorder.AddSample(a, b, c); }
    void SetValues(int a, int b, int c, int d) override { m_recorder.SetValues(a, b, c, d); }
    void SetResultValues(int a, int b, int c, int d) override;
    void SetSensor(uint8_t type, const std::string& shortName) override;
    void FlagsChanged(const CMeasurementFlags& flags) override;
    // A pulled cable: "no data" from the loss to the return; a wait given up ends the recording.
    void LinkWaitStarted(const std::string& lostPort) override;
    void LinkRestored(const std::string& port) override;
    void LinkWaitEnded() override;
    // The text annotated at the stop (the measurement's integrity counters); none when empty.
    void SetStopNote(std::function<std::string()> note) { m_stopNote = std::move(note); }

signals:
    // Started, paused, resumed, a marker, a second gone by.
    void StateChanged();
    // The recording ended; `error` is empty when the file is complete.
    void Stopped(const QString& path, const QString& error);

private:
    // The system clock unless a test hands another.
    struct CClock : CRecordingClock {
        int64_t SteadyNs() const override {
            return m_pClock ? m_pClock->SteadyNs() : m_system.SteadyNs();
        }
        int64_t WallNs() const override {
            return m_pClock ? m_pClock->WallNs() : m_system.WallNs();
        }
        CSystemRecordingClock m_system;
        const CRecordingClock* m_pClock = nullptr;
    };
    CClock m_clock;
    CEdfRecorder m_recorder{m_clock};
    QTimer m_tick;
    QString m_strPath;
    QString m_strSensor;
    int m_nMarkers = 0;
    bool m_bMeasured = false;
    bool m_bInLinkGap = false;
    std::function<std::string()> m_stopNote;
};

}  // namespace somatrix
