// `somatrix FILE` opens the review file in review mode, as the Open command loads it.
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <ctime>

#include "ui/monitor/somatrix_view.h"
#include "ui/review/wave_data_wnd.h"
#include "ui/review/wave_disp_wnd.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/somatrix_app.h"

using namespace somatrix;

class ReviewCommandLineTest : public QObject {
    Q_OBJECT
public:
    explicit ReviewCommandLineTest(CSomatrixApp& app) : m_app(app) {}

private slots:
    void fileOnTheCommandLineOpensInReviewMode() {
        QVERIFY(m_app.InitInstance());
        CSomatrixView* view = m_app.MainFrame()->View();
        QCOMPARE(view->GetMode(), 2);
        CWaveDispWnd& disp = view->ReviewDisplay();
        QVERIFY(disp.isVisible());
        QCOMPARE(disp.Recording().SampleCount(), 36000u);
        QCOMPARE(disp.Recording().SegmentCount(), 3u);
        QCOMPARE(disp.WaveWnd()->View().SampleCount(), 36000u);
        QCOMPARE(disp.WaveWnd()->View().ViewEnd(), 36000);
        QString shown;
        for (QLineEdit* box : disp.findChildren<QLineEdit*>()) {
            if (box->accessibleName() == QStringLiteral("查看起点")) {
                shown = box->text();
            }
        }
        QCOMPARE(shown, QStringLiteral("2023.11.14 22:13:20.000"));
    }

private:
    CSomatrixApp& m_app;
};

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    tzset();
    // Settings of this run stay out of the user's.
    QTemporaryDir home;
    setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    char file[] = SOMATRIX_TEST_DATA "/sim_review_3min.dat";
    char demo[] = "--demo";
    char* args[] = {argv[0], demo, file, nullptr};
    int count = 3;
    CSomatrixApp app(count, args);
    ReviewCommandLineTest test(app);
    // Test options are not passed on: the command line above is the program's.
    return QTest::qExec(&test, argc > 0 ? 1 : 0, argv);
}

#include "review_command_line_test.moc"
