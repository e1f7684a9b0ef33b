// The main frame's menus, accelerators, record buttons and look, driven through the real frame.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <memory>

#include "ui/monitor/device_access.h"
#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/shell/app_look.h"
#include "ui/shell/command_toolbar.h"
#include "ui/shell/dlg_explain.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/message_box.h"

using namespace somatrix;

namespace {

QStringList Texts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

// Contrast ratio of two colours as WCAG 2 defines it, from the relative luminance of sRGB.
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int DataFiles(const QString& folder) {
    return int(QDir(folder).entryList(QDir::Files).size());
}

}  // namespace

class CShellFrameTest : public QObject {
    Q_OBJECT
private:
    QStringList m_messages;
    std::unique_ptr<CSystemDevices> m_pDevices;
    std::unique_ptr<CMainFrame> m_pFrame;
    QTemporaryDir m_folder;

    CMainFrame& NewFrame() {
        m_pFrame.reset();
        m_pFrame = std::make_unique<CMainFrame>(*m_pDevices, m_folder.path() + QLatin1Char('/'));
        m_pFrame->Panel()->Core().SetLogFolder(
            (m_folder.path() + QStringLiteral("/Data")).toStdString());
        return *m_pFrame;
    }
    void ClickTool(int id) {
        CCommandToolBar* toolbar = m_pFrame->ToolBar();
        QTest::mouseClick(toolbar->widgetForAction(toolbar->Action(id)), Qt::LeftButton);
    }
    bool StartShown() const { return m_pFrame->ToolBar()->Action(19005)->isChecked(); }
    bool PauseShown() const { return m_pFrame->ToolBar()->Action(19006)->isChecked(); }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QSettings().clear();
        SetMessageBoxHook([this](const QString& text, QMessageBox::StandardButtons) {
            m_messages << text;
            return QMessageBox::Ok;
        });
        m_pDevices = std::make_unique<CSystemDevices>();
    }
    void cleanupTestCase() { m_pFrame.reset(); }

    void menuTextsIdsAndStates() {
        CMainFrame& frame = NewFrame();
        QCOMPARE(Texts(frame.FileMenu()),
                 (QStringList{"录存原始数据", "停录原始数据", "-", "开始保存解析数据",
                              "停止保存解析数据", "-", "录存波形数据", "暂停录制波形",
                              "停止录制波形", "插入标记", "-", "打开波形文档(&O)...",
                              "对比两段记录…", "保存波形文档(&S)", "-", "打印(&P)...",
                              "打印预览(&V)", "打印设置(&R)...", "打印实验报告…", "-",
                              "退出(&X)"}));
        QCOMPARE(Texts(frame.ViewMenu()), (QStringList{"工具栏和停靠窗口(&T)", "状态栏(&S)",
                                                       "应用程序外观(&A)", "界面切换",
                                                       "断开后自动重连"}));
        QCOMPARE(Texts(frame.ViewMenu()->actions()[0]->menu()),
                 (QStringList{"标准(&S)", "-", "自定义..."}));
        const QList<QPair<int, bool>> states = {
            {32812, true},  {32811, false}, {32819, true},  {32820, false},
            {32813, false}, {32814, false}, {32815, false}, {32816, false},
            {57607, true},  {57609, true},  {57606, true},  {57665, true},
            {59392, true},  {59393, true},  {126, true},    {32781, true}};
        for (const auto& [id, enabled] : states) {
            QVERIFY2(frame.FindAction(id), qPrintable(QString::number(id)));
            QCOMPARE(frame.FindAction(id)->isEnabled(), enabled);
        }
        QVERIFY(!frame.ExecuteCommand(32813));  // disabled: not carried out
        // The accelerator table, keys that do nothing included.
        QCOMPARE(frame.FindAction(57607)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
        QCOMPARE(frame.FindAction(57600)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(frame.FindAction(57643)->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z")),
                                      QKeySequence(QStringLiteral("Alt+Backspace"))}));
        QCOMPARE(frame.FindAction(57637)->shortcuts().size(), 2);
        QCOMPARE(frame.FindAction(57681)->shortcut(), QKeySequence(QStringLiteral("Shift+F6")));
        // Toolbar and status bar toggles.
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.FindAction(59393)->trigger();
        QVERIFY(!frame.statusBar()->isVisible());
        QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("就绪"));
        frame.FindAction(59393)->trigger();
        QVERIFY(frame.statusBar()->isVisible());
        frame.FindAction(59392)->trigger();
        QVERIFY(!frame.ToolBar()->isVisible());
        frame.FindAction(59392)->trigger();
        QVERIFY(frame.ToolBar()->isVisible());
    }

    void recordButtonsFollowTheRawLog() {
        CMainFrame& frame = NewFrame();
        const QString data = m_folder.path() + QStringLiteral("/Data");
        // Stop before any start: nothing happens; with no log pause stays released.
        ClickTool(19007);
        QVERIFY(!frame.IsRecording() && !StartShown());
        ClickTool(19006);
        QVERIFY(!PauseShown());
        // Start: the raw log opens and the button is pressed; a second press does nothing.
        ClickTool(19005);
        QVERIFY(frame.IsRecording() && StartShown());
        QVERIFY(frame.Panel()->IsLogOpen());
        QVERIFY(frame.FindAction(32812)->isChecked() && !frame.FindAction(32812)->isEnabled());
        QCOMPARE(DataFiles(data), 1);
        ClickTool(19005);
        QVERIFY(frame.IsRecording() && StartShown());
        QVERIFY(!PauseShown());
        // Pause: pressed, and bytes received meanwhile are not written; a second press resumes.
        const QString logPath = QString::fromStdString(frame.Panel()->Core().GetLog().GetPath());
        auto receive = [&](uint8_t byte) { frame.Panel()->Core().OnComm(&byte, 1); };
        receive(0x11);
        ClickTool(19006);
        QVERIFY(frame.IsRecording() && StartShown() && PauseShown());
        receive(0x22);
        ClickTool(19006);
        QVERIFY(frame.IsRecording() && !PauseShown());
        receive(0x33);
        {
            QFile log(logPath);
            QVERIFY(log.open(QIODevice::ReadOnly));
            QCOMPARE(log.readAll(), QByteArray("11 \n33 \n"));
        }
        ClickTool(19006);
        QVERIFY(PauseShown());
        // Stopped from the menu: both buttons are released, and the toolbar can start again.
        QVERIFY(frame.ExecuteCommand(32811));
        QVERIFY(!frame.IsRecording() && !StartShown() && !PauseShown());
        QTest::qWait(1100);  // a new second, a new file name
        ClickTool(19005);
        QVERIFY(frame.IsRecording() && StartShown());
        QCOMPARE(DataFiles(data), 2);
        ClickTool(19007);
        QVERIFY(!frame.IsRecording() && !StartShown());
        QVERIFY(!frame.Panel()->IsLogOpen());
        // A raw log started from the menu presses the button too.
        QVERIFY(frame.ExecuteCommand(32812));
        QVERIFY(frame.IsRecording() && StartShown());
        QVERIFY(frame.ExecuteCommand(32820));
        QVERIFY(!StartShown());
        // While a parsed log runs the start button records nothing and stays released, and its
        // stop leaves the parsed log alone.
        QVERIFY(frame.ExecuteCommand(32819));
        ClickTool(19005);
        QVERIFY(!frame.IsRecording() && !StartShown());
        ClickTool(19007);
        QVERIFY(frame.Panel()->IsLogOpen());
        QVERIFY(frame.ExecuteCommand(32820));
        // A log folder that cannot be made: the start fails and the button stays released.
        frame.Panel()->Core().SetLogFolder("/dev/null/Data");
        m_messages.clear();
        ClickTool(19005);
        QVERIFY(!frame.IsRecording() && !StartShown());
        QVERIFY(!frame.Panel()->IsLogOpen());
    }

    void everyTextReadsInEveryLook() {
        CMainFrame& frame = NewFrame();
        frame.resize(1366, 740);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const auto* status = qobject_cast<QLabel*>(frame.Panel()->Control(CDlgOper::kIdStatus));
        QVERIFY(status);
        QWidget* explain = &frame.View()->Explain();
        for (int id = 210; id <= 218; ++id) {
            frame.FindAction(id)->trigger();
            QCoreApplication::processEvents();
            const QPalette p = QApplication::palette();
            const QString look = QString::number(id);
            const QList<QPair<QPalette::ColorRole, QPalette::ColorRole>> pairs = {
                {QPalette::WindowText, QPalette::Window},
                {QPalette::ButtonText, QPalette::Button},
                {QPalette::Text, QPalette::Base},
                {QPalette::HighlightedText, QPalette::Highlight},
                {QPalette::ToolTipText, QPalette::ToolTipBase}};
            for (const auto& [text, background] : pairs) {
                QVERIFY2(Contrast(p.color(text), p.color(background)) >= 4.5,
                         qPrintable(look + " role " + QString::number(text)));
            }
            // The blue status line on the panel's face.
            const QColor blue = status->palette().color(status->foregroundRole());
            QVERIFY2(Contrast(blue, status->palette().color(QPalette::Window)) >= 4.5,
                     qPrintable(look + " status line " + blue.name()));
            QVERIFY2(blue.blue() > blue.red() && blue.blue() > blue.green(),
                     qPrintable(look + " status line not blue: " + blue.name()));
            for (const CTextOnBackground& bar : LookBarTexts(id)) {
                QVERIFY2(Contrast(bar.m_text, bar.m_background) >= 4.5,
                         qPrintable(look + " " + bar.m_pszWhere));
            }
            // The explanation panel's face beside the picture takes the new look's colour.
            QVERIFY(frame.View()->Explain().PictureArea()->geometry().right() <
                    explain->width() - 3);
            const QImage face = explain->grab().toImage();
            QCOMPARE(face.pixelColor(face.width() - 2, face.height() / 2),
                     p.color(QPalette::Window));
        }
    }

    void smallScreensKeepEveryCardAndTheReadyPane() {
        CMainFrame& frame = NewFrame();
        for (const QSize& screen : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)}) {
            frame.resize(screen.width(), screen.height() - 60);  // less the desktop's panel
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            QCoreApplication::processEvents();
            const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
            // The whole picture inside the panel, in its own proportions.
            CDlgExplain& explain = frame.View()->Explain();
            const QRect area = explain.PictureArea()->geometry();
            QVERIFY2(explain.rect().contains(area), qPrintable(size));
            const QSize painted = CDlgExplain::PaintedPictureSize(area.size());
            QVERIFY2(painted.width() <= area.width() && painted.height() <= area.height(),
                     qPrintable(size));
            QVERIFY2(qAbs(double(painted.width()) / painted.height() - 1080.0 / 370.0) < 0.02,
                     qPrintable(size));
            // "就绪" keeps its room before the first of the other panes.
            const QStatusBar* bar = frame.statusBar();
            const int ready = bar->fontMetrics().horizontalAdvance(QStringLiteral("就绪"));
            for (QLabel* pane : bar->findChildren<QLabel*>()) {
                if (pane->isVisible()) {
                    QVERIFY2(pane->geometry().left() >= ready + 12, qPrintable(size));
                }
            }
            QCOMPARE(bar->currentMessage(), QStringLiteral("就绪"));
        }
    }

    void lookPersistsAcrossARestart() {
        QSettings().remove(QStringLiteral("ApplicationLook"));
        NewFrame();
        QCOMPARE(CurrentApplicationLook(), 214);
        QVERIFY(m_pFrame->FindAction(214)->isChecked());
        QCOMPARE(QSettings().value(QStringLiteral("ApplicationLook")).toInt(), 214);
        m_pFrame->FindAction(218)->trigger();
        QVERIFY(m_pFrame->FindAction(218)->isChecked());
        QVERIFY(!m_pFrame->FindAction(214)->isChecked());
        NewFrame();  // a restart
        QCOMPARE(CurrentApplicationLook(), 218);
        QVERIFY(m_pFrame->FindAction(218)->isChecked());
    }
};

QTEST_MAIN(CShellFrameTest)
#include "shell_frame_test.moc"
