// The frame's parts on their own: looks, the command toolbar and its customize dialog, the status
// bar and the platform commands.
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QToolButton>
#include <cstdlib>

#include "platform/pty_pair.h"
#include "ui/monitor/device_access.h"
#include "ui/shell/app_look.h"
#include "ui/shell/command_toolbar.h"
#include "ui/shell/dlg_customize.h"
#include "ui/shell/message_box.h"
#include "ui/shell/platform_commands.h"
#include "ui/shell/status_panes.h"
#include "ui/shell/view_printer.h"
#include "ui/shell/window_stats.h"

using namespace somatrix;

namespace {

// A plot whose paint takes a known time, and which asks for one on every receive event.
class CSlowPlot : public QWidget, public CSerialLinkListener {
public:
    static constexpr int kPaintMs = 40;
    void OnComm(const uint8_t*, size_t) override { update(); }
    void OnLinkLost(const std::string&) override {}

protected:
    void paintEvent(QPaintEvent*) override {
        QThread::msleep(kPaintMs);
        QPainter(this).fillRect(rect(), Qt::black);
    }
};

double StatValue(const std::string& report, const std::string& name) {
    const size_t at = report.find(name + " ");
    return at == std::string::npos ? -1 : std::atof(report.c_str() + at + name.size() + 1);
}

}  // namespace

class CShellPartsTest : public QObject {
    Q_OBJECT
private:
    QStringList m_messages;
    QList<QUrl> m_opened;
    bool m_bOpenResult = true;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        SetMessageBoxHook([this](const QString& text, QMessageBox::StandardButtons buttons) {
            m_messages.append(text);
            return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Cancel;
        });
        SetOpenUrlHook([this](const QUrl& url) {
            m_opened.append(url);
            return m_bOpenResult;
        });
    }
    void init() {
        QSettings().clear();
        m_messages.clear();
        m_opened.clear();
    }

    void statsTimeFromArrivalOnARealPortToTheEndOfThePaint() {
        testing::CPtyPair pty;
        QVERIFY(!pty.Path().empty());
        CSystemDevices devices;
        CSlowPlot plot;
        QWidget panel;
        plot.resize(200, 100);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        CWindowStats stats(plot, panel, devices);
        std::string error;
        QVERIFY2(devices.Link().Open(pty.Path(), error), error.c_str());
        devices.Link().SetListener(&plot);
        stats.BeginMeasure();
        for (int i = 0; i < 3; ++i) {
            pty.Send({0xFF, 0xCA, 0x05, 0x9A, 0xA0, 0x01, 0xF4});
            QTest::qWait(150);
        }
        const std::string report = stats.Report();
        QVERIFY2(StatValue(report, "arrival_to_paint_end_count") >= 1, report.c_str());
        QVERIFY2(StatValue(report, "arrival_to_paint_end_ms_max") >= CSlowPlot::kPaintMs,
                 report.c_str());
        devices.Link().SetListener(nullptr);
        devices.Link().Close(error);
    }

    void looksPersistAndDefaultTo214() {
        QCOMPARE(LoadApplicationLook(), 214);
        {
            QMainWindow frame;
            ApplyApplicationLook(LoadApplicationLook());
            CLookMenu looks(&frame);
            QVERIFY(looks.Action(214)->isChecked());
            // Menu texts, ids and the Office 2007 submenu.
            QCOMPARE(looks.Menu()->title(), QStringLiteral("应用程序外观(&A)"));
            const QList<QAction*> items = looks.Menu()->actions();
            QCOMPARE(items.size(), 6);
            QCOMPARE(items[0]->text(), QStringLiteral("Windows 2000(&2)"));
            QCOMPARE(items[0]->data().toInt(), 210);
            QCOMPARE(items[4]->text(), QStringLiteral("Visual Studio.NET 2005(&5)"));
            QCOMPARE(items[5]->menu()->title(), QStringLiteral("Office 2007(&7)"));
            const QList<QAction*> office = items[5]->menu()->actions();
            QCOMPARE(office.size(), 4);
            QCOMPARE(office[0]->text(), QStringLiteral("蓝色样式(&B)"));
            QCOMPARE(office[3]->text(), QStringLiteral("水绿色样式(&A)"));
            QCOMPARE(office[3]->data().toInt(), 218);

            const QColor before = QApplication::palette().color(QPalette::Window);
            office[1]->trigger();  // black
            QVERIFY(looks.Action(216)->isChecked());
            QVERIFY(!looks.Action(214)->isChecked());
            QVERIFY(QApplication::palette().color(QPalette::Window) != before);
            QVERIFY(QApplication::palette().color(QPalette::Window).lightness() < 128);
            // The classic look is the bevelled style without bar colours; the Office 2007 ones
            // colour the bars.
            looks.Action(210)->trigger();
            QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("windows"));
            QVERIFY(qApp->styleSheet().isEmpty());
            looks.Action(217)->trigger();
            QVERIFY(qApp->styleSheet().contains(QStringLiteral("QToolBar")));
        }
        // A restart: the stored look comes back and is the one checked.
        QCOMPARE(LoadApplicationLook(), 217);
        ApplyApplicationLook(LoadApplicationLook());
        QMainWindow frame;
        CLookMenu looks(&frame);
        QVERIFY(looks.Action(217)->isChecked());
    }

    void toolbarButtonsAndCustomizing() {
        CCommandToolBar toolbar;
        toolbar.show();
        const QStringList captions = {"界面切换", "安装驱动", "扫描设备", "技术文件",
                                      "在线购买", "开始录存", "暂停录存", "停止录存"};
        const QList<QAction*> actions = toolbar.actions();
        QCOMPARE(actions.size(), 16);  // a separator after each button
        for (int i = 0; i < 8; ++i) {
            QAction* action = actions[2 * i];
            QCOMPARE(action->text(), captions[i]);
            QCOMPARE(action->data().toInt(), 19000 + i);
            QVERIFY(action->isEnabled());
            QVERIFY(actions[2 * i + 1]->isSeparator());
            auto* button = qobject_cast<QToolButton*>(toolbar.widgetForAction(action));
            QCOMPARE(button->size(), QSize(50, 60));
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        }
        QCOMPARE(toolbar.iconSize(), QSize(32, 32));
        // Start and pause released; a click on either does not change what they show.
        QVERIFY(!toolbar.Action(19005)->isChecked());
        QVERIFY(!toolbar.Action(19006)->isChecked());
        QTest::mouseClick(toolbar.widgetForAction(toolbar.Action(19006)), Qt::LeftButton);
        QTest::mouseClick(toolbar.widgetForAction(toolbar.Action(19005)), Qt::LeftButton);
        QVERIFY(!toolbar.Action(19006)->isChecked());
        QVERIFY(!toolbar.Action(19005)->isChecked());

        // Hide "在线购买" and move "技术文件" to the front; kept across a restart.
        {
            CDlgCustomize dialog(toolbar);
            QListWidget* list = dialog.List();
            QCOMPARE(list->count(), 8);
            list->item(4)->setCheckState(Qt::Unchecked);
            list->setCurrentRow(3);
            for (int i = 0; i < 3; ++i) {
                QTest::mouseClick(dialog.UpButton(), Qt::LeftButton);
            }
            QVERIFY(!dialog.UpButton()->isEnabled());
            dialog.accept();
        }
        QCOMPARE(toolbar.actions().size(), 14);
        QCOMPARE(toolbar.actions()[0]->data().toInt(), 19003);
        QCOMPARE(toolbar.actions()[2]->data().toInt(), 19000);
        CCommandToolBar restarted;
        QCOMPARE(restarted.actions().size(), 14);
        QCOMPARE(restarted.actions()[0]->data().toInt(), 19003);
        // Reset brings all eight back in their first order.
        CDlgCustomize dialog(restarted);
        QTest::mouseClick(dialog.ResetButton(), Qt::LeftButton);
        dialog.accept();
        QCOMPARE(restarted.actions().size(), 16);
        QCOMPARE(restarted.actions()[8]->data().toInt(), 19004);
    }

    void statusBarPanes() {
        QMainWindow frame;
        auto* status = new CStatusPanes(&frame);
        frame.setStatusBar(status);
        frame.resize(1400, 600);
        frame.show();
        QCOMPARE(status->currentMessage(), QStringLiteral("就绪"));
        status->showMessage(QStringLiteral("扫描"));
        status->clearMessage();
        QCOMPARE(status->currentMessage(), QStringLiteral("就绪"));
        QCOMPARE(status->Pane(101)->text(), QStringLiteral("显示信息1"));
        QCOMPARE(status->Pane(102)->text(), QStringLiteral("显示信息2"));
        QCOMPARE(status->Pane(101)->sizeHint().width(), 500);
        QCOMPARE(status->CapsIndicator()->text(), QStringLiteral("CAP"));
        QCOMPARE(status->NumIndicator()->text(), QStringLiteral("NUM"));
        QCOMPARE(status->ScrollIndicator()->text(), QStringLiteral("SCRL"));
        status->ShowLocks({true, false, true});
        QVERIFY(status->CapsIndicator()->isEnabled());
        QVERIFY(!status->NumIndicator()->isEnabled());
        QVERIFY(status->ScrollIndicator()->isEnabled());
        // Another pane shown beside them (the recording's) leaves a long reading whole.
        frame.resize(1024, 600);
        auto* other = new QLabel(QStringLiteral("● 录制中 00:00:12 心电 250 Hz 标记 0 8 KB"));
        status->addPermanentWidget(other);
        QLabel* reading = status->Pane(102);
        reading->setText(
            QStringLiteral("250 帧/秒 · 校验错 0 · 跳过 0 字节 · 丢弃 0 字节 · 间断 0"));
        QTRY_VERIFY(reading->width() >= reading->fontMetrics().horizontalAdvance(reading->text()));
        QVERIFY(other->width() >= other->fontMetrics().horizontalAdvance(other->text()));
        // A narrow frame squeezes the panes instead of growing.
        frame.resize(640, 400);
        QVERIFY(frame.width() <= 700);
    }

    void technicalDocumentPresentAndMissing() {
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/Somatrix Program XXXXXX"));
        const QString program = folder.path() + QLatin1Char('/');
        const QString pdf = program + QStringLiteral("Document/医用传感器组合_规格书.pdf");
        QVERIFY(!OnTechnicalDocument(nullptr, program));
        QCOMPARE(m_messages, QStringList{QStringLiteral("找不到技术文件：") + pdf});
        QVERIFY(m_opened.isEmpty());

        QVERIFY(QDir().mkpath(program + QStringLiteral("Document")));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
        file.close();
        m_messages.clear();
        QVERIFY(OnTechnicalDocument(nullptr, program));
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(pdf)});
        // No viewer for PDF files: said so.
        m_bOpenResult = false;
        QVERIFY(!OnTechnicalDocument(nullptr, program));
        m_bOpenResult = true;
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].endsWith(pdf));
    }

    void shopFromTheIniOrTheNoShopMessage() {
        QTemporaryDir folder;
        const QString ini = folder.filePath(QStringLiteral("Somatrix.ini"));
        QVERIFY(!OnShopPage(nullptr, ini));  // no file at all
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Setting]\nDev_C5=Pulse\n");
        file.close();
        QVERIFY(!OnShopPage(nullptr, ini));  // no Shop key
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(m_messages[0],
                 QStringLiteral(
                     "没有配置在线购买的网址。请在 Somatrix.ini 的 [Setting] 节中设置 Shop。"));
        QVERIFY(m_opened.isEmpty());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[setting]\nShop = \"https://shop.example.com/sensors\"\n");
        file.close();
        QVERIFY(OnShopPage(nullptr, ini));
        QCOMPARE(m_opened, QList<QUrl>{QUrl(QStringLiteral("https://shop.example.com/sensors"))});
    }

    void printingPaintsTheViewOnThePage() {
        QTemporaryDir folder;
        QWidget view;
        view.resize(400, 200);
        view.setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, Qt::red);
        view.setPalette(palette);
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath(QStringLiteral("view.pdf")));
        CViewPrinter::PaintView(&view, printer);
        QFile pdf(folder.filePath(QStringLiteral("view.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
        QVERIFY(pdf.size() > 500);
    }

    void installDriverAsksThenExplains() {
        // Cancel: nothing further.
        SetMessageBoxHook([this](const QString& text, QMessageBox::StandardButtons) {
            m_messages.append(text);
            return QMessageBox::Cancel;
        });
        OnInstallDriver(nullptr, QStringLiteral("/opt/somatrix/"));
        QCOMPARE(m_messages, QStringList{QStringLiteral(
                                 "安装驱动时设备不能连接计算机,请确认设备没有连接,然后点击确定")});
        initTestCase();
        m_messages.clear();
        OnInstallDriver(nullptr, QStringLiteral("/opt/somatrix/"));
        QCOMPARE(m_messages.size(), 2);
        QVERIFY(m_messages[1].contains(QStringLiteral("Linux 内核")));
        // The fixes name the group, the command and the rule exactly.
        const QString join =
            DescribePortAccess({EPortAccess::kJoinGroup, "/dev/ttyUSB0", "dialout", "ana"}, true);
        QVERIFY(join.contains(QStringLiteral("sudo usermod -aG dialout ana")));
        QVERIFY(join.contains(QStringLiteral("/dev/ttyUSB0")));
        const QString rule =
            DescribePortAccess({EPortAccess::kUdevRule, "/dev/ttyUSB1", "dialout", "ana"}, true);
        QVERIFY(rule.contains(QStringLiteral(
            "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"10c4\", MODE=\"0660\", GROUP=\"dialout\"")));
        QVERIFY(rule.contains(QStringLiteral("/etc/udev/rules.d/50-somatrix-cp210x.rules")));
    }
};

QTEST_MAIN(CShellPartsTest)
#include "shell_parts_test.moc"
