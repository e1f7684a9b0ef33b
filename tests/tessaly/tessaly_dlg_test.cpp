// The main dialog driven as the operator drives it, on a stand-in system drive.
#include "tessaly_dlg.h"
#include "about_dlg.h"
#include "stand_in_system.h"

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QtTest>

using namespace tessaly;
using namespace tessaly::test;

namespace {

// A shown dialog on a fresh stand-in system of the given width.
struct CFixture {
    explicit CFixture(int nBits) : system((MakeStandIn(dir), dir), nBits), dlg(system) {
        dlg.show();
    }
    QPushButton* Button(const char* pszName) { return dlg.findChild<QPushButton*>(pszName); }
    QPlainTextEdit* Log() { return dlg.findChild<QPlainTextEdit*>("log"); }
    // The log's messages, each line's time stamp checked and taken off.
    QStringList Messages() {
        static const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d: (.*)$");
        QStringList messages;
        const QString strText = Log()->toPlainText();
        for (const QString& strLine : strText.split('\n', Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch match = stamp.match(strLine);
            messages << (match.hasMatch() ? match.captured(1) : "unstamped: " + strLine);
        }
        return messages;
    }

    QTemporaryDir dir;
    CStandInSystem system;
    CTessalyDlg dlg;
};

}  // namespace

class TessalyDlgTest : public QObject {
    Q_OBJECT

private slots:
    void ShowsItsTextsAndCancelCloses() {
        CFixture f(32);
        QCOMPARE(f.dlg.windowTitle(), "Tessaly");
        QVERIFY(!f.dlg.windowIcon().isNull());
        QCOMPARE(f.dlg.findChild<QLabel*>("label")->text(), "提示信息");
        QCOMPARE(f.Button("register")->text(), "注册");
        QVERIFY(f.Button("register")->isDefault());
        QVERIFY(f.Log()->isReadOnly());
        QCOMPARE(f.Log()->toPlainText(), "");

        QCOMPARE(f.Button("cancel")->text(), "取消");
        QTest::mouseClick(f.Button("cancel"), Qt::LeftButton);
        QVERIFY(!f.dlg.isVisible());
        QCOMPARE(f.dlg.result(), int(QDialog::Rejected));
        QVERIFY(f.system.m_commands.isEmpty());
    }

    void RegisterMovesTheControlAndSecondPressOnlyRegisters() {
        CFixture f(64);
        QTest::mouseClick(f.Button("register"), Qt::LeftButton);
        QCOMPARE(f.Messages(), QStringList({"64位系统", "拷贝到sysWOW64"}));
        QCOMPARE(ReadAll(DrivePath(f.dir, "Windows/SysWOW64/MSCOMM32.OCX")), "control v1");
        QVERIFY(!QFile::exists(WorkPath(f.dir, "MSCOMM32.OCX")));
        QVERIFY(f.dlg.isVisible());  // the dialog stays open

        QTest::keyClick(&f.dlg, Qt::Key_Return);  // the default button
        QCOMPARE(f.Messages(), QStringList({"64位系统", "拷贝到sysWOW64", "64位系统",
                                            "注册C:/WINDOWS/sysWOW64/MSCOMM32.OCX"}));
        QCOMPARE(f.system.m_commands,
                 QStringList({"Cmd.exe /C Setup_64.bat", "Cmd.exe /C Setup_64.bat"}));
    }

    void LongLogShrinksAndShowsTheNewestLine() {
        CFixture f(64);
        f.dlg.AppendLog("");
        QCOMPARE(f.Log()->toPlainText(), "");  // an empty message adds nothing
        // Lines of 101 characters joined by "\r\n": past 20000 after 195 lines.
        for (int i = 0; i < 195; ++i) {
            f.dlg.AppendLog(QString(80, QChar('a' + i % 26)));
        }
        f.dlg.AppendLog("");
        QCOMPARE(f.Messages().size(), 195);
        QScrollBar* pBar = f.Log()->verticalScrollBar();
        QVERIFY(pBar->maximum() > 0);
        QCOMPARE(pBar->value(), pBar->maximum());

        QTest::mouseClick(f.Button("register"), Qt::LeftButton);
        // Before each new line the old text shrank to its last 300 characters.
        const QString strText = f.Log()->toPlainText();
        QVERIFY2(strText.size() < 300 + 2 * 40, qPrintable(QString::number(strText.size())));
        QVERIFY(strText.contains(": 64位系统\n"));
        QVERIFY(strText.endsWith(": 拷贝到sysWOW64"));
        QCOMPARE(pBar->value(), pBar->maximum());
    }

    void ContextMenuOpensTheAboutBox() {
        CFixture f(32);
        QStringList items;
        QString strVersion;
        bool bIcon = false;
        // The menu and the box run their own event loops; these callbacks run inside them.
        auto closeAbout = [&] {
            auto* pAbout = f.dlg.findChild<CAboutDlg*>();
            QVERIFY(pAbout != nullptr);
            strVersion = pAbout->findChild<QLabel*>("version")->text();
            bIcon = !pAbout->findChild<QLabel*>("icon")->pixmap().isNull();
            QTest::mouseClick(pAbout->findChild<QPushButton*>("ok"), Qt::LeftButton);
        };
        QTimer::singleShot(0, this, [&] {
            auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(pMenu != nullptr);
            for (QAction* pAction : pMenu->actions()) {
                items << pAction->text();
            }
            QTimer::singleShot(0, this, closeAbout);
            QTest::keyClick(pMenu, Qt::Key_A);  // the item's mnemonic
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                f.dlg.mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(&f.dlg, &event);

        QCOMPARE(items, QStringList({"关于 Tessaly(&A)..."}));
        QCOMPARE(strVersion, "Tessaly 1.0 版");
        QVERIFY(bIcon);
        QVERIFY(f.dlg.findChild<CAboutDlg*>() == nullptr);  // closed and gone
    }
};

QTEST_MAIN(TessalyDlgTest)
#include "tessaly_dlg_test.moc"
