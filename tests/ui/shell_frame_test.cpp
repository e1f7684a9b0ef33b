// The main frame's menus, accelerators, record buttons and look, driven through the real frame.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "ui/monitor/device_access.h"
#include "ui/monitor/dlg_oper.h"
#include "ui/shell/app_look.h"
#include "ui/shell/command_toolbar.h"
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
        QCOMPARE(
            Texts(frame.FileMenu()),
            (QStringList{"录存原始数据", "停录原始数据", "-", "开始保存解析数据",
                         "停止保存解析数据", "-", "录存波形数据", "暂停录制波形", "停止录制波形",
                         "插入标记", "-", "打开波形文档(&O)...", "保存波形文档(&S)", "-",
                         "打印(&P)...", "打印预览(&V)", "打印设置(&R)...", "-", "退出(&X)"}));
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
        // Stop before any start: nothing happens; pause is always shown pressed.
        ClickTool(19007);
        QVERIFY(!frame.IsRecording() && !StartShown());
        QVERIFY(frame.ToolBar()->Action(19006)->isChecked());
        // Start: the raw log opens and the button is pressed; a second press does nothing.
        ClickTool(19005);
        QVERIFY(frame.IsRecording() && StartShown());
        QVERIFY(frame.Panel()->IsLogOpen());
        QVERIFY(frame.FindAction(32812)->isChecked() && !frame.FindAction(32812)->isEnabled());
        QCOMPARE(DataFiles(data), 1);
        ClickTool(19005);
        QVERIFY(frame.IsRecording() && StartShown());
        ClickTool(19006);
        QVERIFY(frame.IsRecording() && frame.ToolBar()->Action(19006)->isChecked());
        // Stopped from the menu: the button is released, and the toolbar can start again.
        QVERIFY(frame.ExecuteCommand(32811));
        QVERIFY(!frame.IsRecording() && !StartShown());
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
