// Waveform recording through the window, as an operator does it: measure the ECG, record with
// a pause and two markers, stop, and open the recording in review mode.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "protocol/frame.h"
#include "recording/recording_clock.h"
#include "sim_bus.h"
#include "sim_clock.h"
#include "ui/monitor/device_access.h"
#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/monitor/wave_recorder.h"
#include "ui/review/wave_data_wnd.h"
#include "ui/review/wave_disp_wnd.h"
#include "ui/review/wave_info_bar.h"
#include "ui/shell/command_ids.h"
#include "ui/shell/main_frame.h"

using namespace somatrix;

namespace {

// The recording reads the simulator's virtual clock, so the test's seconds cost no real time.
class CSimClockAdapter : public CRecordingClock {
public:
    explicit CSimClockAdapter(CVirtualClock& clock) : m_clock(clock) {}
    int64_t SteadyNs() const override { return static_cast<int64_t>(m_clock.NowNs()); }
    int64_t WallNs() const override {
        return 1'797'000'000'000'000'000 + static_cast<int64_t>(m_clock.NowNs());
    }

private:
    CVirtualClock& m_clock;
};

}  // namespace

class CWaveRecordingTest : public QObject {
    Q_OBJECT
private slots:
    void RecordPauseMarkStopAndReview();
};

void CWaveRecordingTest::RecordPauseMarkStopAndReview() {
    CVirtualClock clock;
    QTemporaryDir data;
    auto bus = std::make_unique<CSimBus>(7);
    bus->AddSensor(type::kEcg);
    CDemoDevices devices(std::move(bus), &clock);
    CMainFrame frame(devices, QStringLiteral(SOMATRIX_PROGRAM_DIR "/"));
    frame.resize(1200, 800);
    frame.show();
    CDlgOper* panel = frame.Panel();
    panel->Core().SetLogFolder(data.path().toStdString());
    CSimClockAdapter recordingClock(clock);
    frame.WaveRecorder()->SetClock(&recordingClock);
    const auto run = [&](int ms) {
        for (int t = 0; t < ms; t += 10) {
            clock.AdvanceMs(10);
            devices.Pump();
            QCoreApplication::processEvents();
        }
    };

    qobject_cast<QPushButton*>(panel->Control(CDlgOper::kIdScan))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!panel->IsScanning(), 10000);
    QVERIFY(!frame.ExecuteCommand(ids::kRecordWave));  // nothing measured yet
    qobject_cast<QPushButton*>(panel->Control(CDlgOper::kIdStart))->click();
    run(300);
    QVERIFY(frame.ExecuteCommand(ids::kRecordWave));
    QVERIFY(!frame.FindAction(ids::kRecordWave)->isEnabled());
    run(3000);
    QTest::qWait(300);  // the status bar follows the recording a few times a second
    QVERIFY(frame.RecordingLabel()->text().contains(QStringLiteral("250 Hz")));
    QVERIFY(frame.RecordingLabel()->accessibleDescription().contains(QStringLiteral("250 Hz")));
    QVERIFY(frame.ExecuteCommand(ids::kInsertMarker));
    run(1000);
    QVERIFY(frame.ExecuteCommand(ids::kPauseWave));
    QVERIFY(frame.FindAction(ids::kPauseWave)->isChecked());
    run(2000);
    QVERIFY(frame.ExecuteCommand(ids::kPauseWave));
    QVERIFY(!frame.FindAction(ids::kPauseWave)->isChecked());
    run(1000);
    QTest::keyClick(&frame, Qt::Key_M, Qt::ControlModifier);
    run(1000);
    QTest::qWait(300);
    QVERIFY(frame.RecordingLabel()->text().contains(QStringLiteral("标记 2")));
    QVERIFY(frame.ExecuteCommand(ids::kStopWave));
    const QStringList files = QDir(data.path()).entryList({QStringLiteral("ECG_*.edf")});
    QCOMPARE(files.size(), 1);
    QVERIFY(frame.RecordingLabel()->text().contains(files[0]));
    QVERIFY(frame.RecordingLabel()->accessibleDescription().contains(files[0]));
    QVERIFY(frame.OpenRecordingButton()->isVisible());
    QCOMPARE(frame.OpenRecordingButton()->text(), QStringLiteral("在回放模式中打开"));

    frame.OpenRecordingButton()->click();
    CWaveDispWnd& review = frame.View()->ReviewDisplay();
    QVERIFY(review.isVisible());
    QCOMPARE(review.Source().SampleRate(), 250u);
    // The pause, and the end of the last second after the stop.
    QCOMPARE(review.Source().Gaps().size(), size_t{2});
    QStringList marks;
    for (int i = 0; i < review.InfoBar()->MarkList()->count(); ++i) {
        marks << review.InfoBar()->MarkList()->itemText(i).section(QStringLiteral("  "), 1);
    }
    // The integrity counters close the recording.
    QCOMPARE(marks.size(), 5);
    QVERIFY2(marks.takeLast().startsWith(QStringLiteral("帧 ")), qPrintable(marks.join('|')));
    QCOMPARE(marks, (QStringList{QStringLiteral("标记 1"), QStringLiteral("暂停"),
                                 QStringLiteral("继续"), QStringLiteral("标记 2")}));
    QCOMPARE(review.WaveWnd()->Marks().size(), size_t{5});
    // The paused stretch draws nothing: its middle column of the whole view is empty.
    const CSampleGap gap = review.Source().Gaps()[0];
    const int x = review.WaveWnd()->View().PixelOfSample((gap.m_nStart + gap.m_nEnd) / 2);
    std::vector<CColumnSpan> columns;
    review.WaveWnd()->View().TraceColumns(columns);
    QVERIFY(columns.at(static_cast<size_t>(x)).Empty());
    QVERIFY(!columns.at(2).Empty());

    // A marker renamed and one removed in review.
    review.RenameMark(0, QStringLiteral("起点"));
    QCOMPARE(review.Source().Annotations()[0].m_strText, std::string("起点"));
    review.InfoBar()->MarkList()->setCurrentIndex(3);
    review.InfoBar()->RemoveMarkButton()->click();
    QCOMPARE(review.Source().Annotations().size(), size_t{4});
    if (!qEnvironmentVariableIsEmpty("SOMATRIX_SCREENSHOT")) {
        frame.grab().save(qEnvironmentVariable("SOMATRIX_SCREENSHOT"));
    }

    // A file EDFlib refuses: its reason in the status bar, and every review window cleared.
    QFile bad(data.filePath(QStringLiteral("bad.edf")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(600, '7'));
    bad.close();
    review.LoadWaveFile(bad.fileName());
    QVERIFY(review.LastStatus().startsWith(QStringLiteral("无法打开 EDF+ 文件：")));
    QCOMPARE(frame.statusBar()->currentMessage(), review.LastStatus());
    QCOMPARE(review.WaveWnd()->View().SampleCount(), 0u);
    QCOMPARE(review.InfoBar()->MarkList()->count(), 0);
    QVERIFY(review.WaveWnd()->Marks().empty());
}

QTEST_MAIN(CWaveRecordingTest)
#include "wave_recording_test.moc"
