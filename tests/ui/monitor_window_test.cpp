// The monitoring window driven offscreen on simulated sensors: start-up, both layouts and the
// mode switch, the save refusal, the File-menu log items, and a whole measurement in demo mode.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

#include "physiology.h"
#include "platform/system_port_list.h"
#include "sim_bus.h"
#include "sim_clock.h"
#include "support/message_catcher.h"
#include "ui/monitor/device_access.h"
#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/info_scree_wnd.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/shell/about_box.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/somatrix_app.h"
#include "ui/shell/status_panes.h"

using namespace somatrix;

namespace {

// A frame over all fourteen simulated sensors on a virtual clock the test moves itself.
struct CWindow {
    explicit CWindow(const CFaultPlan& faults = {}) {
        auto bus = std::make_unique<CSimBus>(7);
        bus->AddAllSensors();
        bus->SetFaults(faults);
        devices = std::make_unique<CDemoDevices>(std::move(bus), &clock);
        frame = std::make_unique<CMainFrame>(*devices, QStringLiteral(SOMATRIX_PROGRAM_DIR "/"));
        frame->resize(1200, 800);
        frame->show();
        panel()->Core().SetLogFolder(logs.path().toStdString());
    }
    CSomatrixView* view() const { return frame->View(); }
    CDlgOper* panel() const { return frame->Panel(); }
    template <typename T>
    T* control(int id) const {
        return qobject_cast<T*>(panel()->Control(id));
    }
    QString text(int id) const { return control<QLabel>(id)->text(); }
    // "断开后自动重连" of the View menu.
    void autoReconnect(bool on) { frame->FindAction(32840)->setChecked(on); }
    // Lets `ms` of simulated time pass, delivering what arrives as the pump timer would.
    void run(int ms) {
        for (int t = 0; t < ms; t += 10) {
            clock.AdvanceMs(10);
            devices->Pump();
            QCoreApplication::processEvents();
        }
    }
    void scan() {
        control<QPushButton>(CDlgOper::kIdScan)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!panel()->IsScanning(), 10000);
        QCoreApplication::processEvents();
    }
    void select(uint8_t type) {
        COperCore& core = panel()->Core();
        control<QComboBox>(CDlgOper::kIdDeviceList)
            ->setCurrentIndex(core.ListPositionOf(core.GetCatalogue().IndexOfType(type)));
    }
    QStringList logLines(const char* suffix) const {
        QStringList lines;
        for (const QString& name : QDir(logs.path()).entryList({QStringLiteral("*") + suffix})) {
            QFile file(logs.filePath(name));
            if (file.open(QIODevice::ReadOnly)) {
                lines += QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
            }
        }
        return lines;
    }

    CVirtualClock clock;
    QTemporaryDir logs;
    std::unique_ptr<CDemoDevices> devices;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace

class CMonitorWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void StartUpLayoutsAndModeSwitch();
    void SaveIsRefusedInMonitoringMode();
    void ViewScalesSkinResistanceAndZoomsHeartSound();
    void LogMenuFollowsTheSharedLogFile();
    void DemoMeasurementFromScanToStop();
    void DeviceCommandsReachTheSensor();
    void UnpluggedSensorLeavesThePanelIdle();
    void PulledCableWaitsAndTheMeasurementGoesOn();
    void CommandLineOpensAReviewFileAndAboutBox();
};

void CMonitorWindowTest::StartUpLayoutsAndModeSwitch() {
    CWindow w;
    CSomatrixView* view = w.view();
    QCOMPARE(w.frame->windowTitle(), QStringLiteral("组合式电生理传感器采集程序"));
    QCOMPARE(view->GetMode(), 1);
    QVERIFY(w.panel()->isVisible());
    QVERIFY(view->LivePlot().isVisible());
    QVERIFY(view->Explain().isVisible());
    QVERIFY(!view->ReviewDisplay().isVisible());

    const int W = view->width();
    const int H = view->height();
    QCOMPARE(w.panel()->geometry(), QRect(2, 66, 222, H - 66));
    QCOMPARE(view->LivePlot().geometry(), QRect(224, 66, W - 226, 246));
    QCOMPARE(view->Explain().geometry(), QRect(222, 312, W - 224, H - 312));
    QCOMPARE(w.text(CDlgOper::kIdStatus), QStringLiteral("请先点击“扫描设备”搜索在线设备"));

    // The open command's first step: review mode, the display from the top-left corner.
    view->ShowReviewLayout();
    QCOMPARE(view->GetMode(), 2);
    QVERIFY(!w.panel()->isVisible());
    QVERIFY(!view->LivePlot().isVisible());
    QVERIFY(!view->Explain().isVisible());
    QVERIFY(view->ReviewDisplay().isVisible());
    QCOMPARE(view->ReviewDisplay().geometry(), QRect(0, 0, W - 4, H - 2));

    // The next resize moves it 66 px down and 2 px in.
    w.frame->resize(1100, 760);
    QTRY_VERIFY(view->width() != W);
    QCOMPARE(view->ReviewDisplay().geometry(),
             QRect(2, 66, view->width() - 4, view->height() - 66));

    // "界面切换": back to monitoring, and twice returns to the same layout.
    QVERIFY(w.frame->ExecuteCommand(32781));
    QCOMPARE(view->GetMode(), 1);
    QVERIFY(w.panel()->isVisible() && !view->ReviewDisplay().isVisible());
    QVERIFY(w.frame->ExecuteCommand(32781));
    QCOMPARE(view->GetMode(), 2);
    QVERIFY(w.frame->ExecuteCommand(32781));
    QCOMPARE(view->GetMode(), 1);
    QCOMPARE(view->LivePlot().geometry(), QRect(224, 66, view->width() - 226, 246));
}

void CMonitorWindowTest::SaveIsRefusedInMonitoringMode() {
    CWindow w;
    test::CMessageCatcher messages;
    QVERIFY(w.frame->ExecuteCommand(57603));
    QCOMPARE(messages.Texts(), QStringList{QStringLiteral("请先切换到回放查看模式")});
    QCOMPARE(w.view()->GetMode(), 1);
    QVERIFY(w.panel()->isVisible());
}

void CMonitorWindowTest::ViewScalesSkinResistanceAndZoomsHeartSound() {
    CWindow w;
    CSomatrixView* view = w.view();
    const CLiveWave& plot = view->LivePlot().Wave();
    auto last = [&] { return plot.DisplaySample(plot.DisplayCount() - 1); };

    view->SetSensorType(0xC5);
    QCOMPARE(view->GetSensorType(), uint8_t{0xC5});
    QCOMPARE(plot.ZoomX(), 60);
    QCOMPARE(plot.ZoomY(), 22);
    view->AddSample(1234, 0, 0);
    QCOMPARE(last(), uint16_t{123});
    view->AddSample(-15, 0, 0);
    QCOMPARE(last(), uint16_t{0xFFFF});  // -1: truncated toward zero, stored as 16 bits
    // An absent reading (-1) is not drawn at all, not drawn as 0.
    const int drawn = plot.DisplayCount();
    view->AddSample(-1, 0, 0);
    QCOMPARE(plot.DisplayCount(), drawn);
    QCOMPARE(last(), uint16_t{0xFFFF});

    // A new sensor starts on an empty page.
    view->SetSensorType(0xB1);
    QCOMPARE(plot.DisplayCount(), 0);
    QCOMPARE(plot.ZoomX(), 60);
    QCOMPARE(plot.ZoomY(), 100);
    view->AddSample(1234, 0, 0);
    QCOMPARE(last(), uint16_t{1234});

    view->SetSensorType(0xCE);
    QCOMPARE(plot.ZoomY(), 22);
    // Samples keep reaching the plot while review mode hides it.
    view->OnSwitchInterface();
    view->AddSample(-15, 0, 0);
    QCOMPARE(last(), uint16_t{0xFFF1});
}

void CMonitorWindowTest::LogMenuFollowsTheSharedLogFile() {
    CWindow w;
    test::CMessageCatcher messages;
    QSignalSpy changes(w.frame.get(), &CMainFrame::LogFileChanged);
    auto state = [&](int id) {
        QAction* a = w.frame->FindAction(id);
        return QStringLiteral("%1%2")
            .arg(a->isEnabled() ? 'E' : '-')
            .arg(a->isChecked() ? 'C' : '-');
    };
    auto states = [&] {
        return QStringList{state(32812), state(32811), state(32819), state(32820),
                           state(32813), state(32814), state(32815)};
    };
    // Both start items are disabled while either log runs; only the running one is checked.
    const QStringList closed{"E-", "--", "E-", "--", "--", "--", "--"};
    const QStringList rawOpen{"-C", "E-", "--", "E-", "--", "--", "--"};
    const QStringList parsedOpen{"--", "E-", "-C", "E-", "--", "--", "--"};
    QCOMPARE(states(), closed);
    QCOMPARE(w.frame->FindAction(32812)->text(), QStringLiteral("录存原始数据"));
    QCOMPARE(w.frame->FindAction(32820)->text(), QStringLiteral("停止保存解析数据"));

    QVERIFY(w.frame->ExecuteCommand(32812));
    QCOMPARE(states(), rawOpen);
    QCOMPARE(QDir(w.logs.path()).entryList({"*.txt"}).size(), 1);
    QVERIFY(!w.frame->ExecuteCommand(32819));  // disabled while a log runs
    QVERIFY(!w.frame->ExecuteCommand(32813));  // never carried out
    QVERIFY(w.frame->ExecuteCommand(32820));   // either stop item ends either log
    QCOMPARE(states(), closed);

    QVERIFY(w.frame->ExecuteCommand(32819));
    QCOMPARE(states(), parsedOpen);
    QCOMPARE(QDir(w.logs.path()).entryList({"*.csv"}).size(), 1);
    QVERIFY(w.frame->ExecuteCommand(32811));
    QCOMPARE(states(), closed);
    QCOMPARE(changes.size(), 4);
    QVERIFY(messages.Texts().isEmpty());

    // A log folder that cannot be made is reported with its path; the items stay as they were.
    QFile blocker(w.logs.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    const QString folder = w.logs.filePath("blocker/Data");
    w.panel()->Core().SetLogFolder(folder.toStdString());
    QVERIFY(w.frame->ExecuteCommand(32812));
    QCOMPARE(messages.Texts().size(), 1);
    QVERIFY(messages.Texts()[0].contains(folder));
    QCOMPARE(states(), closed);
}

void CMonitorWindowTest::DemoMeasurementFromScanToStop() {
    CWindow w;
    test::CMessageCatcher messages;
    auto* start = w.control<QPushButton>(CDlgOper::kIdStart);
    auto* stop = w.control<QPushButton>(CDlgOper::kIdStop);
    auto* list = w.control<QComboBox>(CDlgOper::kIdDeviceList);

    QSignalSpy scanning(w.panel(), &CDlgOper::ScanningChanged);
    w.control<QPushButton>(CDlgOper::kIdScan)->click();
    QVERIFY(!w.control<QPushButton>(CDlgOper::kIdScan)->isEnabled());
    QVERIFY(!list->isEnabled());
    auto* slow = w.control<QCheckBox>(CDlgOper::kIdSlowScan);
    auto* onlineOnly = w.control<QCheckBox>(CDlgOper::kIdOnlineOnly);
    QVERIFY(!slow->isEnabled() && !onlineOnly->isEnabled());  // the switches wait too
    QTRY_VERIFY_WITH_TIMEOUT(!w.panel()->IsScanning(), 10000);
    QVERIFY(slow->isEnabled() && onlineOnly->isEnabled());
    QCOMPARE(scanning.size(), 2);
    QVERIFY(!w.control<QProgressBar>(CDlgOper::kIdProgress)->isVisible());
    QCOMPARE(w.text(CDlgOper::kIdStatus), QStringLiteral("端口SIM连接14台设备"));
    QCOMPARE(list->count(), 14);
    for (int i = 0; i < list->count(); ++i) {
        QVERIFY2(list->itemText(i).endsWith(QStringLiteral("(在线)")),
                 qPrintable(list->itemText(i)));
    }
    QCOMPARE(list->currentIndex(), 0);  // the first online record is selected
    QVERIFY(w.text(CDlgOper::kIdInfoLine).startsWith(QStringLiteral("设备号")));
    QVERIFY(start->isEnabled() && !stop->isEnabled());

    // ECG: Start, then Stop becomes available with the first data frame.
    w.select(0xCE);
    QVERIFY(list->currentText().startsWith(QStringLiteral("心电")));
    QVERIFY(w.frame->ExecuteCommand(32819));
    start->click();
    QVERIFY(!stop->isEnabled());
    w.run(1000);
    QVERIFY(stop->isEnabled());
    QVERIFY(!w.control<QPushButton>(CDlgOper::kIdScan)->isEnabled());
    const qsizetype lines = w.logLines(".csv").size();
    QVERIFY2(lines > 100, qPrintable(QString::number(lines)));  // ECG sends hundreds a second
    const CLiveWave& plot = w.view()->LivePlot().Wave();
    QVERIFY(plot.DisplayCount() > 100);
    QCOMPARE(w.view()->GetSensorType(), uint8_t{0xCE});
    // The heart rate row: unknown until three beats, then the subject's rate from the ECG.
    const CInfoScreeWnd& info = w.panel()->InfoPanel();
    QTRY_VERIFY2(info.accessibleDescription().contains(QStringLiteral("心率: --")),
                 qPrintable(info.accessibleDescription()));
    w.run(5000);
    const double rest = CPhysiology(w.devices->Bus().Seed()).Traits().m_fHeartRate;
    const QRegularExpression row(QStringLiteral("心率: (\\d+)次/分"));
    QTRY_VERIFY2(row.match(info.accessibleDescription()).hasMatch(),
                 qPrintable(info.accessibleDescription()));
    const int shown = row.match(info.accessibleDescription()).captured(1).toInt();
    QVERIFY2(std::abs(shown - rest) < 0.1 * rest, qPrintable(QString::number(shown)));

    // Extremes on and off while measuring.
    auto* maxMin = w.control<QPushButton>(CDlgOper::kIdMaxMin);
    maxMin->click();
    QVERIFY(maxMin->isChecked());
    w.run(200);
    maxMin->click();
    QVERIFY(!maxMin->isChecked());

    stop->click();
    w.run(300);
    QVERIFY(start->isEnabled() && !stop->isEnabled());
    // The panel shows the last reading the parsed log got, and says so to a screen reader.
    const QString lastValue = w.logLines(".csv").last().section(',', 0, 0);
    QTRY_VERIFY2(w.panel()->InfoPanel().accessibleDescription().contains(lastValue),
                 qPrintable(w.panel()->InfoPanel().accessibleDescription()));
    QVERIFY(w.control<QPushButton>(CDlgOper::kIdScan)->isEnabled());
    QVERIFY(!w.panel()->Core().IsPortOpen());
    // Three seconds without a beat blank the rate again.
    QTRY_VERIFY_WITH_TIMEOUT(info.accessibleDescription().contains(QStringLiteral("心率: --")),
                             5000);
    QVERIFY(messages.Texts().isEmpty());
}

void CMonitorWindowTest::DeviceCommandsReachTheSensor() {
    CWindow w;
    test::CMessageCatcher messages;
    w.scan();
    auto requests = [&] { return w.devices->Bus().Stats().m_nRequests; };
    auto click = [&](int id) { w.control<QPushButton>(id)->click(); };

    // Body temperature: both reads answered on the information line, then a calibration.
    w.select(0xC9);
    auto* calibration = w.control<QComboBox>(CDlgOper::kIdCalibration);
    QVERIFY(!calibration->isEnabled());
    click(CDlgOper::kIdReadNumber);
    w.run(100);
    QVERIFY(w.text(CDlgOper::kIdInfoLine).startsWith(QStringLiteral("设备号：")));
    click(CDlgOper::kIdReadDate);
    w.run(100);
    QVERIFY(w.text(CDlgOper::kIdInfoLine).startsWith(QStringLiteral("生产日期：")));
    click(CDlgOper::kIdStart);
    w.run(1500);
    QVERIFY(calibration->isEnabled());
    uint64_t before = requests();
    emit calibration->activated(6);  // "下调[3]"
    w.run(50);
    QCOMPARE(requests(), before + 1);
    click(CDlgOper::kIdStop);
    w.run(300);

    // Heart rate: the mode list offers its two outputs.
    w.select(0xC8);
    click(CDlgOper::kIdStart);
    w.run(500);
    auto* mode = w.control<QComboBox>(CDlgOper::kIdMode);
    QVERIFY(mode->isEnabled());
    QCOMPARE(mode->count(), 2);
    QCOMPARE(mode->itemText(1), QStringLiteral("1-心率输出"));
    QCOMPARE(mode->currentIndex(), -1);
    before = requests();
    emit mode->activated(1);
    w.run(50);
    QCOMPARE(requests(), before + 1);
    click(CDlgOper::kIdStop);
    w.run(300);

    // Pulse: the gain steps while measuring.
    w.select(0xCA);
    click(CDlgOper::kIdStart);
    w.run(500);
    auto* gain = qobject_cast<QLineEdit*>(w.panel()->Control(CDlgOper::kIdGainValue));
    QCOMPARE(gain->text(), QStringLiteral("3"));
    before = requests();
    click(CDlgOper::kIdGainUp);
    QCOMPARE(gain->text(), QStringLiteral("4"));
    click(CDlgOper::kIdGainDown);
    click(CDlgOper::kIdGainDown);
    QCOMPARE(gain->text(), QStringLiteral("2"));
    w.run(50);
    QCOMPARE(requests(), before + 3);
    QVERIFY(!w.control<QPushButton>(CDlgOper::kIdSleep)->isEnabled());  // not a cuff sensor
    QVERIFY(messages.Texts().isEmpty());
}

void CMonitorWindowTest::UnpluggedSensorLeavesThePanelIdle() {
    CFaultPlan faults;
    faults.m_nDisconnectAfterNs = 20ull * 1000 * kNsPerMs;  // after the scan, while measuring
    CWindow w(faults);
    w.autoReconnect(false);  // the measurement ends as it always did
    test::CMessageCatcher messages;
    w.scan();
    w.select(0xCA);
    QVERIFY(w.frame->ExecuteCommand(32812));
    w.control<QPushButton>(CDlgOper::kIdStart)->click();
    w.run(1000);
    QVERIFY(w.control<QPushButton>(CDlgOper::kIdStop)->isEnabled());
    w.run(20000);

    QCOMPARE(messages.Texts().size(), 1);
    QVERIFY(messages.Texts()[0].startsWith(QStringLiteral("设备连接已断开，测量已停止：")));
    QVERIFY(!w.control<QPushButton>(CDlgOper::kIdStop)->isEnabled());
    QVERIFY(w.control<QPushButton>(CDlgOper::kIdScan)->isEnabled());
    QVERIFY(w.panel()->IsLogOpen());  // the raw log goes on and keeps what arrived
    QVERIFY(w.logLines(".txt").size() > 10);

    // The port is gone: Start says so, and a new scan finds no candidate.
    messages.Clear();
    w.control<QPushButton>(CDlgOper::kIdStart)->click();
    QCOMPARE(messages.Texts(),
             QStringList{QStringLiteral("设备端口打开失败，可能端口被占用或不存在")});
    messages.Clear();
    qunsetenv("SOMATRIX_PORTS");
    const bool noMachinePorts = CSystemPortList().CandidatePorts().empty();
    w.scan();
    QCOMPARE(w.text(CDlgOper::kIdStatus), QStringLiteral("没有发现设备在线"));
    if (noMachinePorts) {
        QCOMPARE(messages.Texts(), QStringList{QStringLiteral(
                                       "未发现有效端口，请检查：\r\n1. 设备与电脑的连接；\r\n2. "
                                       "驱动是否安装正确。")});
    }
}

void CMonitorWindowTest::PulledCableWaitsAndTheMeasurementGoesOn() {
    CWindow w;
    w.autoReconnect(true);
    QVERIFY(QSettings().value(QStringLiteral("AutoReconnect")).toBool());
    w.devices->SetBusFactory([] {
        auto bus = std::make_unique<CSimBus>(7);
        bus->AddAllSensors();
        return bus;
    });
    test::CMessageCatcher messages;
    COperCore& core = w.panel()->Core();
    auto* start = w.control<QPushButton>(CDlgOper::kIdStart);
    auto* cancel = w.control<QPushButton>(CDlgOper::kIdCancelReconnect);
    QCOMPARE(cancel->text(), QStringLiteral("取消重连"));
    QVERIFY(cancel->isHidden());
    w.scan();
    w.select(0xCA);
    QVERIFY(w.frame->ExecuteCommand(32812));
    start->click();
    w.run(1000);
    const qsizetype before = w.logLines(".txt").size();

    // The demo's cable is pulled: the panel waits, offering only the way out; the log stays.
    QVERIFY(w.frame->ExecuteCommand(32841));
    w.run(100);
    QCOMPARE(w.text(CDlgOper::kIdInfoLine), QStringLiteral("设备已断开，正在等待重新连接…"));
    QVERIFY(cancel->isVisible());
    QVERIFY(start->isHidden());
    QVERIFY(w.panel()->IsLogOpen());
    QVERIFY(messages.Texts().isEmpty());

    // The sensors come back on "SIM2"; the search finds them off the GUI thread.
    QTRY_VERIFY_WITH_TIMEOUT(!core.IsWaitingForDevice(), 15000);
    QCOMPARE(w.text(CDlgOper::kIdStatus), QStringLiteral("已重新连接：SIM2"));
    w.run(1000);
    QVERIFY(core.GetFlags().m_bMeasuring);
    QVERIFY(w.control<QPushButton>(CDlgOper::kIdStop)->isEnabled());
    QVERIFY(cancel->isHidden());
    QVERIFY(w.logLines(".txt").size() > before + 10);
    w.frame->ShowIntegrity();
    QVERIFY(w.frame->StatusPanes()->Pane(102)->text().contains(QStringLiteral("帧/秒")));

    // Pulled again, and the operator gives up: the wait and the log end.
    QVERIFY(w.frame->ExecuteCommand(32841));
    w.run(100);
    QVERIFY(cancel->isVisible());
    cancel->click();
    QVERIFY(!core.IsWaitingForDevice());
    QVERIFY(!w.panel()->IsLogOpen());
    QVERIFY(cancel->isHidden());
    QVERIFY(messages.Texts().isEmpty());

    // The option is kept in the settings.
    w.autoReconnect(false);
    QVERIFY(!QSettings().value(QStringLiteral("AutoReconnect")).toBool());
    w.autoReconnect(true);
}

void CMonitorWindowTest::CommandLineOpensAReviewFileAndAboutBox() {
    CStartOptions options;
    QString error;
    QVERIFY(ParseStartOptions({"somatrix", "--demo", "--sensors", "CE,C9", "--seed", "3", "x.dat"},
                              options, error));
    QVERIFY(options.m_bDemo);
    QCOMPARE(options.m_simArgs, (std::vector<std::string>{"--sensors", "CE,C9", "--seed", "3"}));
    QCOMPARE(options.m_strFile, QStringLiteral("x.dat"));
    QVERIFY(!ParseStartOptions({"somatrix", "--sensors", "CE"}, options, error));  // needs --demo
    QVERIFY(!ParseStartOptions({"somatrix", "--bogus"}, options, error));
    QVERIFY(!ParseStartOptions({"somatrix", "a.dat", "b.dat"}, options, error));
    QVERIFY(!ParseStartOptions({"somatrix", "--measure", "XYZ"}, options, error));

    // `somatrix FILE`: review mode, the display from the top-left corner, the file loaded
    // (three minutes at 200 samples a second).
    CWindow w;
    QVERIFY(
        ParseStartOptions({"somatrix", SOMATRIX_TEST_DATA "/sim_review_3min.dat"}, options, error));
    w.view()->OpenReviewFile(options.m_strFile);
    QCOMPARE(w.view()->GetMode(), 2);
    QCOMPARE(w.view()->ReviewDisplay().geometry(),
             QRect(0, 0, w.view()->width() - 4, w.view()->height() - 2));
    QCOMPARE(w.view()->ReviewDisplay().Recording().SampleCount(), 36000u);
    // A file of another kind empties the windows and says so in the status bar.
    QTemporaryDir other;
    const QString csv = other.filePath(QStringLiteral("readings.csv"));
    {
        QFile f(csv);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("time,value\n").repeated(20));
    }
    w.view()->OpenReviewFile(csv);
    QCOMPARE(w.view()->ReviewDisplay().Recording().SampleCount(), 0u);
    QCOMPARE(w.frame->statusBar()->currentMessage(),
             QStringLiteral("readings.csv 不是脑电图数据文件，未打开"));

    CAboutDlg about(w.frame.get());
    QCOMPARE(about.windowTitle(), QStringLiteral("关于 Somatrix"));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        texts << label->text();
    }
    QVERIFY(texts.contains(QStringLiteral("Somatrix V1.2.2")));
    about.show();
    QPushButton* ok = about.findChild<QPushButton*>();
    QCOMPARE(ok->text(), QStringLiteral("确定"));
    ok->click();
    QCOMPARE(about.result(), int(QDialog::Accepted));
    QVERIFY(!about.isVisible());
}

QTEST_MAIN(CMonitorWindowTest)
#include "monitor_window_test.moc"
