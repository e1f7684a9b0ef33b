#include "ui/monitor/wave_recorder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ui/shell/shell_texts.h"

namespace somatrix {

namespace {

QString FileSizeText(qint64 bytes) {
    if (bytes < 1024 * 1024) {
        return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
    }
    return QStringLiteral("%1 MB").arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

}  // namespace

CWaveRecorder::CWaveRecorder(QObject* parent) : QObject(parent) {
    // Ticks let time pass for slow sensors and stalls, and move the status bar's clock.
    m_tick.setInterval(250);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        m_recorder.Tick();
        if (!m_recorder.IsOpen()) {
            Stop();  // the file could not be written
            return;
        }
        emit StateChanged();
    });
}

CWaveRecorder::~CWaveRecorder() {
    m_tick.stop();
    m_recorder.Close();
}

bool CWaveRecorder::Start(const QString& folder, const CRecordingInfo& info, QString& error) {
    if (IsRecording()) {
        return false;
    }
    QDir().mkpath(folder);
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(m_clock.WallNs() / 1'000'000);
    const QString name = QStringLiteral("%1_%2.edf")
                             .arg(QString::fromStdString(SensorTag(info.m_nType)),
                                  now.toString(QStringLiteral("yyyyMMdd_HHmmss")));
    const QString path = QDir(folder).filePath(name);
    std::string why;
    if (!m_recorder.Open(QFile::encodeName(path).toStdString(), info, why)) {
        error = QString::fromStdString(why);
        return false;
    }
    m_strPath = path;
    m_strSensor = QString::fromStdString(info.m_strSensor);
    m_nMarkers = 0;
    m_bMeasured = true;
    m_tick.start();
    emit StateChanged();
    return true;
}

void CWaveRecorder::TogglePause() {
    if (!IsRecording()) {
        return;
    }
    if (m_recorder.IsPaused()) {
        m_recorder.Resume();
    } else {
        m_recorder.Pause();
    }
    emit StateChanged();
}

void CWaveRecorder::AddMarker() {
    if (!IsRecording()) {
        return;
    }
    ++m_nMarkers;
    m_recorder.AddAnnotation(QString::fromUtf8(texts::kMarkerName).arg(m_nMarkers).toStdString());
    emit StateChanged();
}

void CWaveRecorder::Stop() {
    m_tick.stop();
    if (!m_recorder.IsOpen() && m_strPath.isEmpty()) {
        return;
    }
    if (m_recorder.IsOpen() && m_stopNote) {
        if (const std::string note = m_stopNote(); !note.empty()) {
            m_recorder.AddAnnotation(note);
        }
    }
    m_bInLinkGap = false;
    std::string error;
    m_recorder.Close(&error);
    const QString path = m_strPath;
    m_strPath.clear();
    m_bMeasured = false;
    emit Stopped(path, QString::fromStdString(error));
}

void CWaveRecorder::SetResultValues(int a, int b, int c, int d) {
    m_recorder.SetResultValues(a, b, c, d);
    if (IsRecording() && b >= 0) {
        emit StateChanged();
    }
}

void CWaveRecorder::SetSensor(uint8_t /*type*/, const std::string& /*shortName*/) {
    if (IsRecording()) {
        Stop();  // another device: this recording is complete
    }
}

void CWaveRecorder::LinkWaitStarted(const std::string& /*lostPort*/) {
    if (IsRecording()) {
        m_bInLinkGap = true;
        m_recorder.BeginGap();
        emit StateChanged();
    }
}

void CWaveRecorder::LinkRestored(const std::string& /*port*/) {
    if (IsRecording() && m_bInLinkGap) {
        m_bInLinkGap = false;
        m_recorder.EndGap();
        emit StateChanged();
    }
}

void CWaveRecorder::LinkWaitEnded() {
    if (IsRecording()) {
        Stop();
    }
}

void CWaveRecorder::FlagsChanged(const CMeasurementFlags& flags) {
    if (IsRecording() && m_bMeasured && !m_bInLinkGap && !flags.m_bMeasuring &&
        !flags.m_bStartRequested) {
        Stop();  // the measurement ended (Stop, a blood-pressure result, the link lost)
    }
}

QString CWaveRecorder::StateText() const {
    if (!IsRecording()) {
        return {};
    }
    const auto seconds = static_cast<qint64>(m_recorder.ElapsedSeconds());
    const QString elapsed = QStringLiteral("%1:%2:%3")
                                .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                                .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    const QString rate = m_recorder.Rate() > 0 ? QStringLiteral("%1 Hz").arg(m_recorder.Rate())
                                               : QString::fromUtf8(texts::kMeasuringRate);
    QString text = QString::fromUtf8(texts::kRecordingState)
                       .arg(elapsed, m_strSensor, rate)
                       .arg(m_nMarkers)
                       .arg(FileSizeText(QFileInfo(m_strPath).size()));
    if (m_recorder.IsPaused()) {
        text += QStringLiteral("  ") + QString::fromUtf8(texts::kRecordingPaused);
    }
    return text;
}

}  // namespace somatrix
