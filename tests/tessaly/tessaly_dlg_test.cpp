// The main dialog driven as the operator drives it, on a stand-in system drive.
#include "tessaly_dlg.h"
#include "about_dlg.h"
#include "stand_in_system.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace tessaly;
using namespace tessaly::test;

class TessalyDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ShowsItsFixedTexts();
    void RegisterOnSixtyFourBitMovesTheControlAndLogs();
    void RegisterOnThirtyTwoBitWithControlPresentOnlyRegisters();
    void EnterPressesRegisterAndSecondPressOnlyRegisters();
    void EmptyMessageAddsNothing();
    void LongLogShrinksAndShowsTheNewestLine();
    void CancelClosesTheDialog();
    void ContextMenuOpensTheAboutBox();

private:
    void MakeDialog(int nBits);
    QPushButton* Button(const char* pszName) const;
    QPlainTextEdit* LogEdit() const;
    // The log's messages with their time stamps checked and taken off.
    QStringList LogMessages() const;

    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CStandInSystem> m_pSystem;
    std::unique_ptr<CTessalyDlg> m_pDlg;
};

void TessalyDlgTest::init() {
    m_pDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_pDir->isValid());
    MakeStandIn(*m_pDir);
}

void TessalyDlgTest::cleanup() {
    m_pDlg.reset();
    m_pSystem.reset();
    m_pDir.reset();
}

void TessalyDlgTest::MakeDialog(int nBits) {
    m_pSystem = std::make_unique<CStandInSystem>(*m_pDir, nBits);
    m_pDlg = std::make_unique<CTessalyDlg>(*m_pSystem);
    m_pDlg->show();
}

QPushButton* TessalyDlgTest::Button(const char* pszName) const {
    return m_pDlg->findChild<QPushButton*>(QString::fromLatin1(pszName));
}

QPlainTextEdit* TessalyDlgTest::LogEdit() const {
    return m_pDlg->findChild<QPlainTextEdit*>(QStringLiteral("log"));
}

QStringList TessalyDlgTest::LogMessages() const {
    static const QRegularExpression stamp(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2}):(\\d{2}):(\\d{2}): (.*)$"));
    QStringList messages;
    const QString strText = LogEdit()->toPlainText();
    if (strText.isEmpty()) {
        return messages;
    }
    for (const QString& strLine : strText.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = stamp.match(strLine);
        if (!match.hasMatch()) {
            return {QStringLiteral("unstamped line: ") + strLine};
        }
        messages << match.captured(7);
    }
    return messages;
}

void TessalyDlgTest::ShowsItsFixedTexts() {
    MakeDialog(32);
    QCOMPARE(m_pDlg->windowTitle(), QStringLiteral("Tessaly"));
    QVERIFY(!m_pDlg->windowIcon().isNull());
    QCOMPARE(m_pDlg->findChild<QLabel*>(QStringLiteral("label"))->text(),
             QStringLiteral("提示信息"));
    QCOMPARE(Button("register")->text(), QStringLiteral("注册"));
    QCOMPARE(Button("cancel")->text(), QStringLiteral("取消"));
    QVERIFY(Button("register")->isDefault());
    QVERIFY(LogEdit()->isReadOnly());
    QCOMPARE(LogEdit()->toPlainText(), QString());
    QCOMPARE(m_pDlg->GetAboutAction()->text(), QStringLiteral("关于 Tessaly(&A)..."));
}

void TessalyDlgTest::RegisterOnSixtyFourBitMovesTheControlAndLogs() {
    MakeDialog(64);
    QTest::mouseClick(Button("register"), Qt::LeftButton);

    QCOMPARE(LogMessages(), QStringList({"64位系统", "拷贝到sysWOW64"}));
    QCOMPARE(m_pSystem->m_commands, QStringList({"Cmd.exe /C Setup_64.bat"}));
    QCOMPARE(ReadAll(DrivePath(*m_pDir, "Windows/SysWOW64/MSCOMM32.OCX")),
             QByteArray("control v1"));
    QVERIFY(!QFile::exists(WorkPath(*m_pDir, "MSCOMM32.OCX")));
    QVERIFY(m_pDlg->isVisible());  // the dialog stays open after registering
}

void TessalyDlgTest::RegisterOnThirtyTwoBitWithControlPresentOnlyRegisters() {
    WriteFile(DrivePath(*m_pDir, "Windows/System32/MSCOMM32.OCX"), "installed");
    MakeDialog(32);
    QTest::mouseClick(Button("register"), Qt::LeftButton);

    QCOMPARE(LogMessages(), QStringList({"32位系统", "注册C:/WINDOWS/system32/MSCOMM32.OCX"}));
    QCOMPARE(m_pSystem->m_commands, QStringList({"Cmd.exe /C Setup_32.bat"}));
    QVERIFY(QFile::exists(WorkPath(*m_pDir, "MSCOMM32.OCX")));
}

void TessalyDlgTest::EnterPressesRegisterAndSecondPressOnlyRegisters() {
    MakeDialog(32);
    QTest::keyClick(m_pDlg.get(), Qt::Key_Return);
    QTest::mouseClick(Button("register"), Qt::LeftButton);

    QCOMPARE(LogMessages(), QStringList({"32位系统", "拷贝到system32", "32位系统",
                                         "注册C:/WINDOWS/system32/MSCOMM32.OCX"}));
    QCOMPARE(m_pSystem->m_commands.size(), 2);
}

void TessalyDlgTest::EmptyMessageAddsNothing() {
    MakeDialog(32);
    m_pDlg->AppendLog(QString());
    QCOMPARE(LogEdit()->toPlainText(), QString());
    m_pDlg->AppendLog(QStringLiteral("first"));
    m_pDlg->AppendLog(QString());
    QCOMPARE(LogMessages(), QStringList({"first"}));
}

void TessalyDlgTest::LongLogShrinksAndShowsTheNewestLine() {
    MakeDialog(64);
    int nLines = 0;
    // Lines of 21 + 80 characters and a line break: past 20000 after 199 lines.
    while (LogEdit()->toPlainText().size() + nLines <= 20000) {
        m_pDlg->AppendLog(QString(80, QLatin1Char(static_cast<char>('a' + nLines % 26))));
        ++nLines;
    }
    QVERIFY(LogMessages().size() > 150);
    QScrollBar* pBar = LogEdit()->verticalScrollBar();
    QVERIFY(pBar->maximum() > 0);
    QCOMPARE(pBar->value(), pBar->maximum());

    QTest::mouseClick(Button("register"), Qt::LeftButton);
    // The old text shrank to its last 300 characters (a line and a half) before each new line.
    const QString strText = LogEdit()->toPlainText();
    QVERIFY2(strText.size() < 300 + 2 * 40, qPrintable(QString::number(strText.size())));
    QVERIFY(strText.endsWith(QStringLiteral(": 拷贝到sysWOW64")));
    QVERIFY(strText.contains(QStringLiteral(": 64位系统\n")));
    QCOMPARE(pBar->value(), pBar->maximum());
}

void TessalyDlgTest::CancelClosesTheDialog() {
    MakeDialog(32);
    QVERIFY(m_pDlg->isVisible());
    QTest::mouseClick(Button("cancel"), Qt::LeftButton);
    QVERIFY(!m_pDlg->isVisible());
    QCOMPARE(m_pDlg->result(), int(QDialog::Rejected));
    QVERIFY(m_pSystem->m_commands.isEmpty());
}

void TessalyDlgTest::ContextMenuOpensTheAboutBox() {
    MakeDialog(32);
    QStringList menuItems;
    QString strVersion;
    bool bIconShown = false;
    // The menu and the box each run their own event loop; these run inside them.
    auto closeAbout = [&] {
        auto* pAbout = m_pDlg->findChild<CAboutDlg*>();
        QVERIFY(pAbout != nullptr);
        strVersion = pAbout->findChild<QLabel*>(QStringLiteral("version"))->text();
        bIconShown = !pAbout->findChild<QLabel*>(QStringLiteral("icon"))->pixmap().isNull();
        QTest::mouseClick(pAbout->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
    };
    QTimer::singleShot(0, this, [&] {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(pMenu != nullptr);
        for (QAction* pAction : pMenu->actions()) {
            menuItems << pAction->text();
        }
        QTimer::singleShot(0, this, closeAbout);
        QTest::keyClick(pMenu, Qt::Key_A);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                            m_pDlg->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(m_pDlg.get(), &event);

    QCOMPARE(menuItems, QStringList({"关于 Tessaly(&A)..."}));
    QCOMPARE(strVersion, QStringLiteral("Tessaly 1.0 版"));
    QVERIFY(bIconShown);
    QVERIFY(m_pDlg->findChild<CAboutDlg*>() == nullptr);  // closed and gone
    QVERIFY(m_pDlg->isVisible());
}

QTEST_MAIN(TessalyDlgTest)
#include "tessaly_dlg_test.moc"
