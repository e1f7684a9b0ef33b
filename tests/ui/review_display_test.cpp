// The review display driven offscreen: a real recording, real mouse events, the bar's texts.

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "analysis/beat_list.h"
#include "analysis/source_beats.h"
#include "file_size_limit.h"
#include "review/edf_save.h"
#include "review/source_load.h"
#include "review_writer.h"
#include "ui/review/beat_overlay.h"
#include "ui/review/file_dialog.h"
#include "ui/review/portion_wnd.h"
#include "ui/review/ruler_wnd.h"
#include "ui/review/wave_data_wnd.h"
#include "ui/review/wave_disp_wnd.h"
#include "ui/review/wave_info_bar.h"
#include "ui/shell/message_box.h"

using namespace somatrix;

namespace {

const QString kSimFile = QStringLiteral(SOMATRIX_TEST_DATA "/sim_review_3min.dat");

void Mouse(QWidget* w, QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons) {
    const QPointF p(x, 20);
    QMouseEvent event(type, p, w->mapToGlobal(p), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void CtrlClick(QWidget* w, int x) {
    const QPointF p(x, 200);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton,
                      Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton,
                        Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(w, &release);
}

void Drag(QWidget* w, int from, int to) {
    Mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void Trigger(CWaveDataWnd* wave, int id) {
    QMenu* menu = wave->CreateContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->data().toInt() == id) {
            action->trigger();
        }
    }
    delete menu;
}

}  // namespace

class ReviewDisplayTest : public QObject {
    Q_OBJECT

private:
    // A bar box's value as a screen reader reads it, found by its accessible name.
    QString Box(CWaveDispWnd& disp, const QString& name) {
        for (QLineEdit* box : disp.findChildren<QLineEdit*>()) {
            QAccessibleInterface* access = QAccessible::queryAccessibleInterface(box);
            if (access != nullptr && access->text(QAccessible::Name) == name) {
                return access->text(QAccessible::Value);
            }
        }
        return QStringLiteral("<no box %1>").arg(name);
    }
    // A display of 1204 x 700: a wave window of 1160 x 553.
    void Open(CWaveDispWnd& disp, const QString& path) {
        disp.resize(1204, 700);
        disp.show();
        disp.LoadWaveFile(path);
    }

private slots:
    void init() {
        SetMessageBoxHook(nullptr);
        SetFileDialogHook(nullptr);
    }

    void barTextsFollowLoadDragAndPan() {
        CWaveDispWnd disp;
        Open(disp, kSimFile);
        CWaveDataWnd* wave = disp.WaveWnd();
        QCOMPARE(wave->size(), QSize(1160, 553));
        QVERIFY(!disp.InfoBar()->isWindow());
        QCOMPARE(disp.InfoBar()->geometry(), QRect(2, 635, 1160, 65));
        QCOMPARE(wave->accessibleName(), QStringLiteral("波形"));
        QCOMPARE(disp.PortionWnd()->accessibleName(), QStringLiteral("全程概览"));
        QCOMPARE(disp.TimeRuler()->accessibleName(), QStringLiteral("时间标尺"));
        QCOMPARE(disp.ValueRuler()->accessibleName(), QStringLiteral("数值标尺"));
        QCOMPARE(Box(disp, "查看起点"), QStringLiteral("2023.11.14 22:13:20.000"));
        QCOMPARE(Box(disp, "查看终点"), QStringLiteral("2023.11.14 22:18:20.000"));
        QCOMPARE(Box(disp, "X比例"), QStringLiteral("1:31.0"));
        QCOMPARE(Box(disp, "Y比例"), QStringLiteral("1:4.4"));
        QCOMPARE(disp.ValueRuler()->TopValue(), 3813);
        QCOMPARE(disp.ValueRuler()->BottomValue(), 1358);
        QCOMPARE(disp.TimeRuler()->RangeEnd(), 36000);

        // A leftward drag past the right edge and back: the lower time stays in 1028.
        Mouse(wave, QEvent::MouseButtonPress, 600, Qt::LeftButton, Qt::LeftButton);
        Mouse(wave, QEvent::MouseMove, 1300, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(Box(disp, "选取起点"), QStringLiteral("2023.11.14 22:15:53.100"));
        QCOMPARE(Box(disp, "选取终点"), QStringLiteral("2023.11.14 22:18:20.000"));
        Mouse(wave, QEvent::MouseMove, 300, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(Box(disp, "选取起点"), QStringLiteral("2023.11.14 22:14:06.550"));
        QCOMPARE(Box(disp, "选取终点"), QStringLiteral("2023.11.14 22:15:53.100"));
        Mouse(wave, QEvent::MouseButtonRelease, 300, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(wave->View().SelStart(), 9310);
        QCOMPARE(wave->View().SelEnd(), 18620);

        // A single click, then the centred zoom step from the menu.
        Drag(wave, 10, 10);
        Trigger(wave, 32775);
        QCOMPARE(Box(disp, "查看起点"), QStringLiteral("2023.11.14 22:13:38.000"));
        QCOMPARE(Box(disp, "查看终点"), QStringLiteral("2023.11.14 22:18:02.000"));
        QCOMPARE(Box(disp, "X比例"), QStringLiteral("1:24.8"));

        // Panning the overview by 50 px moves the view by 50 * 36000 / 1160 samples and leaves
        // both scale texts alone.
        Drag(disp.PortionWnd(), 100, 150);
        QCOMPARE(wave->View().ViewStart(), 5151);
        QCOMPARE(wave->View().ViewEnd(), 33951);
        QCOMPARE(disp.TimeRuler()->RangeStart(), 5151);
        QCOMPARE(Box(disp, "查看起点"), QStringLiteral("2023.11.14 22:13:45.755"));
        QCOMPARE(Box(disp, "查看终点"), QStringLiteral("2023.11.14 22:18:09.755"));
        QCOMPARE(Box(disp, "X比例"), QStringLiteral("1:24.8"));
        QCOMPARE(Box(disp, "Y比例"), QStringLiteral("1:4.4"));
    }

    void cutUsesTheOrderedSelectionAndOverviewShowsIt() {
        CWaveDispWnd disp;
        Open(disp, kSimFile);
        CWaveDataWnd* wave = disp.WaveWnd();
        // From the left edge: the overview shows it although it starts at sample 0.
        Drag(wave, 300, -40);
        QCOMPARE(wave->View().SelStart(), 0);
        QCOMPARE(wave->View().SelEnd(), 9310);
        const QImage strip = disp.PortionWnd()->grab().toImage();
        const QColor red(255, 32, 32);
        QCOMPARE(strip.pixelColor(0, 20), red);
        QCOMPARE(strip.pixelColor(298, 20), red);  // 1160 * 9310 / 36000 = 299
        QCOMPARE(strip.pixelColor(299, 20), QColor(75, 243, 167));

        // The selected columns show inverted, the cursor line at its left edge.
        const QImage shown = wave->grab().toImage();
        QCOMPARE(shown.pixelColor(150, 10), QColor(255, 255, 255));
        QCOMPARE(shown.pixelColor(710, 10), QColor(0, 0, 0));
        QCOMPARE(shown.pixelColor(0, 10), QColor(255, 255, 0));

        Trigger(wave, 32803);
        QCOMPARE(disp.Recording().SampleCount(), 26690u);
        QCOMPARE(disp.PortionWnd()->Model().Total(), 26690);
        QCOMPARE(wave->View().ViewEnd(), 26690);
        QCOMPARE(wave->View().SelEnd(), 0);
        // The first remaining sample keeps the time it was recorded at, in the whole seconds of
        // a time stamp (it was taken at 22:14:06.550).
        QCOMPARE(Box(disp, "查看起点"), QStringLiteral("2023.11.14 22:14:06.000"));
        // Neither the cut nor a new load leaves the old selection in the bar.
        QCOMPARE(Box(disp, "选取起点"), QString());
        QCOMPARE(Box(disp, "选取终点"), QString());
        Drag(wave, 300, 600);
        QVERIFY(!Box(disp, "选取终点").isEmpty());
        disp.LoadWaveFile(kSimFile);
        QCOMPARE(Box(disp, "选取起点"), QString());
        QCOMPARE(Box(disp, "选取终点"), QString());

        // A view far narrower than an overview pixel still shows its box and shadow.
        disp.PortionWnd()->SetView(18000, 18001);
        const QImage narrow = disp.PortionWnd()->grab().toImage();
        QCOMPARE(narrow.pixelColor(580, 20), QColor(227, 253, 241));
        QCOMPARE(narrow.pixelColor(581, 20), QColor(10, 151, 87));
        QCOMPARE(narrow.pixelColor(582, 20), QColor(0, 0, 0));
    }

    void saveUsesTheDialogAndAFailureKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString target = dir.filePath("old.dat");
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("previous contents");
        }
        CWaveDispWnd disp;
        Open(disp, kSimFile);
        CFileDialogRequest asked;
        SetFileDialogHook([&](const CFileDialogRequest& request) {
            asked = request;
            return target;
        });
        QStringList messages;
        SetMessageBoxHook([&](const QString& text, QMessageBox::StandardButtons) {
            messages << text;
            return QMessageBox::Ok;
        });
        // The 72 022-byte file cannot be written under a 4 KiB limit.
        {
            const CFileSizeLimit limit(4096);
            disp.SaveWaveFile();
        }

        QVERIFY(asked.m_bSave);
        QCOMPARE(asked.m_strTitle, QStringLiteral("打开脑电图数据文件"));
        QVERIFY(asked.m_strFilter.startsWith(QStringLiteral("脑电图数据文件(*.dat")));
        QCOMPARE(asked.m_strDefaultSuffix, QStringLiteral("dat"));
        QCOMPARE(QDir(asked.m_strFolder).canonicalPath(),
                 QDir(QCoreApplication::applicationDirPath()).canonicalPath());
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.front().startsWith(QStringLiteral("文件打开失败!\n")));
        QVERIFY(messages.front().contains(target));
        QFile old(target);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("previous contents"));

        // Without the limit the same save writes the whole recording.
        disp.SaveWaveFile();
        QCOMPARE(QFileInfo(target).size(), 72022);

        // Cut down to 44 samples: refused before a file is asked for, and nothing is written.
        disp.CutSelection(44, disp.Recording().SampleCount());
        QCOMPARE(disp.Recording().SampleCount(), 44u);
        asked = CFileDialogRequest();
        messages.clear();
        disp.SaveWaveFile();
        QVERIFY(!asked.m_bSave);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.front().contains(QStringLiteral("45")));
        QCOMPARE(QFileInfo(target).size(), 72022);
    }

    void aFileThatIsNotLoadedClearsEveryWindow() {
        QTemporaryDir dir;
        const QString shortFile = dir.filePath("short.dat");
        {
            QFile f(shortFile);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("EEG1TM") + QByteArray(93, '\x10'));  // 99 bytes
        }
        QStringList messages;
        SetMessageBoxHook([&](const QString& text, QMessageBox::StandardButtons) {
            messages << text;
            return QMessageBox::Ok;
        });
        CWaveDispWnd disp;
        for (const QString& bad : {shortFile, dir.filePath("missing.dat")}) {
            Open(disp, kSimFile);
            Drag(disp.WaveWnd(), 100, 200);
            disp.LoadWaveFile(bad);
            QCOMPARE(disp.WaveWnd()->View().SampleCount(), 0u);
            QCOMPARE(disp.WaveWnd()->View().ViewEnd(), 0);
            QCOMPARE(disp.PortionWnd()->Model().Total(), 0);
            QCOMPARE(disp.PortionWnd()->Model().HasSelection(), false);
            QCOMPARE(disp.TimeRuler()->RangeStart(), 1);
            QCOMPARE(disp.TimeRuler()->RangeEnd(), 1400);
            QCOMPARE(disp.ValueRuler()->TopValue(), 1300);
            QCOMPARE(disp.ValueRuler()->BottomValue(), 0);
            for (const char* name :
                 {"查看起点", "查看终点", "选取起点", "选取终点", "X比例", "Y比例"}) {
                QCOMPARE(Box(disp, QString::fromUtf8(name)), QString());
            }
            // The trace is gone: only background and centre line remain.
            const QImage image = disp.WaveWnd()->Image();
            QCOMPARE(image.pixelColor(600, 100), QColor(0, 0, 0));
            QCOMPARE(image.pixelColor(600, 553 / 2), QColor(0, 0, 255));
        }
        // The short file is ignored silently; the missing one is reported.
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.front().contains(QStringLiteral("missing.dat")));
    }

    void beatsOfAnEcgRecordingAreMarkedAndCanBeCorrected() {
        QTemporaryDir dir;
        CReviewOptions options;
        options.m_nMinutes = 1;
        options.m_nSeed = 8;
        options.m_bEcg = true;
        options.m_nStartTime = 1700000000;
        const QString path = dir.filePath(QStringLiteral("ecg.dat"));
        std::string error;
        QVERIFY(WriteReviewFile(QFile::encodeName(path).toStdString(), options, error));
        const std::vector<double> truth = ReviewBeatTimes(options);

        CWaveDispWnd disp;
        Open(disp, path);
        CBeatOverlay* overlay = disp.BeatOverlay();
        const CBeatList& beats = overlay->Beats();
        QVERIFY2(
            std::abs(static_cast<double>(beats.Count()) - static_cast<double>(truth.size())) <= 1,
            qPrintable(QString::number(beats.Count())));
        const int n = static_cast<int>(beats.Count());
        QTRY_COMPARE(overlay->Ticks()->accessibleDescription(),
                     QStringLiteral("视图内%1次心搏，共%1次；Ctrl+单击添加或删除心搏").arg(n));
        QVERIFY(overlay->Strip()->isVisible());
        QVERIFY(overlay->Strip()->geometry().bottom() < disp.WaveWnd()->height());
        // The strip's range holds the subject's resting rate.
        const double rest =
            60.0 * static_cast<double>(truth.size() - 1) / (truth.back() - truth[0]);
        const QStringList range = overlay->Strip()->accessibleDescription().split(
            QRegularExpression(QStringLiteral("[ –]")), Qt::SkipEmptyParts);
        QCOMPARE(range.size(), 4);
        QVERIFY(range[1].toDouble() <= rest && range[2].toDouble() >= rest);

        // Ctrl+click on a beat removes it; Ctrl+click there again puts it back on the R peak.
        CWaveDataWnd* wave = disp.WaveWnd();
        const int64_t tenth = beats.Samples()[10];
        const int x = wave->View().PixelOfSample(tenth);
        CtrlClick(wave, x);
        QCOMPARE(static_cast<int>(beats.Count()), n - 1);
        QVERIFY(!std::binary_search(beats.Samples().begin(), beats.Samples().end(), tenth));
        QTRY_VERIFY(overlay->Ticks()->accessibleDescription().contains(
            QStringLiteral("共%1次").arg(n - 1)));
        CtrlClick(wave, x + 1);
        QCOMPARE(static_cast<int>(beats.Count()), n);
        QVERIFY(std::binary_search(beats.Samples().begin(), beats.Samples().end(), tenth));
        QVERIFY(!disp.PortionWnd()->Model().HasSelection());  // editing selects nothing
        // A plain click still selects and leaves the beats alone.
        Drag(wave, 100, 300);
        QVERIFY(disp.PortionWnd()->Model().HasSelection());
        QCOMPARE(static_cast<int>(beats.Count()), n);
        // Saved as EDF+, the corrected beats travel as "R" annotations and come back instead of
        // a new detection.
        CtrlClick(wave, x);
        const std::vector<int64_t> corrected = beats.Samples();
        CReviewSource source;
        QCOMPARE(LoadReviewSource(QFile::encodeName(path).toStdString(), source).m_result,
                 ESourceLoad::kLoaded);
        overlay->StoreInto(source);
        const std::string edf =
            QFile::encodeName(dir.filePath(QStringLiteral("ecg.edf"))).toStdString();
        QVERIFY(SaveEdfFile(edf, source, 0, source.SampleCount(), error));
        CReviewSource reopened;
        QCOMPARE(LoadReviewSource(edf, reopened).m_result, ESourceLoad::kLoaded);
        QCOMPARE(BeatAnnotations(reopened).size(), corrected.size());
        CWaveDispWnd other;
        other.BeatOverlay()->LoadSource(reopened);
        QCOMPARE(other.BeatOverlay()->Beats().Samples(), corrected);
    }
};

int main(int argc, char** argv) {
    // Times show in local time; the expectations are UTC.
    setenv("TZ", "UTC", 1);
    tzset();
    QApplication app(argc, argv);
    ReviewDisplayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "review_display_test.moc"
