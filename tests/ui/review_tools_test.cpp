// The review's measuring tools driven offscreen: the cursors' readout and the selection's
// statistics read through the accessibility bus, two simulated recordings compared, and the
// worksheet saved as PDF. Expected values are summed here straight from the files' samples.

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>
#include <string>

#include "review/review_file.h"
#include "review_writer.h"
#include "ui/review/compare_wnd.h"
#include "ui/review/file_dialog.h"
#include "ui/review/selection_stats_panel.h"
#include "ui/review/wave_data_wnd.h"
#include "ui/review/wave_disp_wnd.h"
#include "ui/review/wave_info_bar.h"
#include "ui/review/worksheet_dialog.h"

using namespace somatrix;

namespace {

const QString kSimFile = QStringLiteral(SOMATRIX_TEST_DATA "/sim_review_3min.dat");

void Mouse(QWidget* w, QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons) {
    const QPointF p(x, 20);
    QMouseEvent event(type, p, w->mapToGlobal(p), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// The accessible description of the widget named `name` under `root`.
QString Described(QWidget* root, const QString& name) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(w);
        if (access != nullptr && access->text(QAccessible::Name) == name && w->isVisible()) {
            return access->text(QAccessible::Description);
        }
    }
    return QStringLiteral("<none named %1>").arg(name);
}

int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QString text = QString::fromLatin1(file.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

// Saves the dialog's worksheet through its "保存为PDF…" button into `path`.
void SavePdf(CWorksheetDialog* dialog, const QString& path) {
    SetFileDialogHook([path](const CFileDialogRequest&) { return path; });
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("保存为PDF…")) {
            button->click();
        }
    }
    SetFileDialogHook(nullptr);
}

}  // namespace

class ReviewToolsTest : public QObject {
    Q_OBJECT

private slots:
    void cursorsAndSelectionStatistics() {
        CReviewRecording file;
        QCOMPARE(int(LoadWaveFile(kSimFile.toStdString(), file).m_result), 0);
        const uint16_t* s = file.Samples();

        CWaveDispWnd disp;
        disp.resize(1204, 700);
        disp.show();
        disp.LoadWaveFile(kSimFile);
        CWaveDataWnd* wave = disp.WaveWnd();
        QCOMPARE(Described(wave, QStringLiteral("游标读数")),
                 QStringLiteral("<none named 游标读数>"));
        QTest::keyClick(wave, Qt::Key_C);
        QVERIFY(wave->Cursors().Visible());
        wave->PlaceCursor(0, 200);
        wave->PlaceCursor(1, 350);
        // 150 samples at 200/s: 750 ms, 80 per minute.
        const QString readout = Described(wave, QStringLiteral("游标读数"));
        QVERIFY2(readout.contains(QStringLiteral("游标A  1.000 s  %1").arg(s[200])),
                 qPrintable(readout));
        QVERIFY(readout.contains(QStringLiteral("游标B  1.750 s  %1").arg(s[350])));
        QVERIFY(readout.contains(
            QStringLiteral("Δt 750 ms  Δ值 %1  60/Δt 80.0 次/分").arg(int(s[350]) - int(s[200]))));
        // Dragging cursor B by its line moves it; the selection stays as it was.
        const int bx = wave->View().PixelOfSample(350);
        Mouse(wave, QEvent::MouseButtonPress, bx + 2, Qt::LeftButton, Qt::LeftButton);
        Mouse(wave, QEvent::MouseMove, bx + 100, Qt::NoButton, Qt::LeftButton);
        Mouse(wave, QEvent::MouseButtonRelease, bx + 100, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(wave->Cursors().Sample(1), wave->View().SampleAtPixel(bx + 100));
        QCOMPARE(wave->View().SelLow(), wave->View().SelHigh());
        // The menu item hides them again.
        QMenu* menu = wave->CreateContextMenu();
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QStringLiteral("双游标"))) {
                QVERIFY(action->isChecked());
                action->trigger();
            }
        }
        delete menu;
        QVERIFY(!wave->Cursors().Visible());

        // A selection away from the cursors: its statistics by plain sums.
        Mouse(wave, QEvent::MouseButtonPress, 400, Qt::LeftButton, Qt::LeftButton);
        Mouse(wave, QEvent::MouseMove, 700, Qt::NoButton, Qt::LeftButton);
        Mouse(wave, QEvent::MouseButtonRelease, 700, Qt::LeftButton, Qt::NoButton);
        const int64_t a = wave->View().SelLow();
        const int64_t b = wave->View().SelHigh();
        QVERIFY(b - a > 1000);
        double sum = 0, lo = 1e9, hi = 0;
        for (int64_t i = a; i < b; ++i) {
            sum += s[i];
            lo = std::min<double>(lo, s[i]);
            hi = std::max<double>(hi, s[i]);
        }
        const double mean = sum / double(b - a);
        double squares = 0;
        for (int64_t i = a; i < b; ++i) {
            squares += (s[i] - mean) * (s[i] - mean);
        }
        const CSelectionStats& stats = disp.StatsPanel()->Stats();
        QCOMPARE(stats.m_range.m_dMin, lo);
        QCOMPARE(stats.m_range.m_dMax, hi);
        QVERIFY(std::fabs(stats.m_range.m_dMean - mean) < 1e-9);
        QVERIFY(std::fabs(stats.m_range.m_dStdDev - std::sqrt(squares / double(b - a - 1))) < 1e-9);
        const QString shown = Described(disp.InfoBar(), QStringLiteral("选取统计"));
        QVERIFY2(shown.contains(QStringLiteral("时长 %1 s").arg(double(b - a) / 200, 0, 'f', 3)),
                 qPrintable(shown));
        QVERIFY(shown.contains(QStringLiteral("平均值 %1").arg(mean, 0, 'f', 1)));
        disp.CopyStatistics();
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY2(copied.startsWith(QStringLiteral("选取\n时长\t")), qPrintable(copied));
        QVERIFY(copied.contains(QStringLiteral("\n最小值\t%1\n").arg(lo)));
        QVERIFY(copied.contains(QStringLiteral("\n标准差\t")));
        QVERIFY(copied.contains(QStringLiteral("\nRMSSD\t")));

        // The worksheet of this view: one page.
        QTemporaryDir dir;
        std::unique_ptr<CWorksheetDialog> dialog(disp.CreateWorksheetDialog());
        dialog->FieldBox(0)->setText(QStringLiteral("张三"));
        SavePdf(dialog.get(), dir.filePath(QStringLiteral("one.pdf")));
        QCOMPARE(PdfPages(dir.filePath(QStringLiteral("one.pdf"))), 1);
    }

    void twoRecordingsComparedAndPrinted() {
        QTemporaryDir dir;
        CReviewOptions options;
        options.m_bEcg = true;
        options.m_nSeed = 5;
        const std::string rest = dir.filePath(QStringLiteral("rest.dat")).toStdString();
        const std::string after = dir.filePath(QStringLiteral("after.dat")).toStdString();
        std::string error;
        QVERIFY(WriteReviewFile(rest, options, error));
        options.m_conditions.m_fStepAtSec = 0;
        options.m_conditions.m_fStepBpm = 130;
        QVERIFY(WriteReviewFile(after, options, error));

        CCompareWnd compare;
        compare.show();
        QString message;
        QVERIFY(compare.LoadRecording(0, QString::fromStdString(rest), &message));
        QVERIFY(compare.LoadRecording(1, QString::fromStdString(after), &message));
        QTableWidget* table = compare.Table();
        QCOMPARE(table->accessibleName(), QStringLiteral("对比表"));
        const auto cell = [&](int row, int column) { return table->item(row, column)->text(); };
        QCOMPARE(cell(0, 0), QStringLiteral("60.00"));
        QCOMPARE(cell(0, 2), QStringLiteral("0.00"));
        // After the step the heart beats 130 times a minute.
        QVERIFY2(std::fabs(cell(1, 1).toDouble() - 130.0) < 3.0, qPrintable(cell(1, 1)));
        QVERIFY(cell(1, 0).toDouble() < 100.0);
        QVERIFY(std::fabs(cell(1, 2).toDouble() - (cell(1, 1).toDouble() - cell(1, 0).toDouble())) <
                0.11);
        // The values' mean and range, summed here from the second file.
        CReviewRecording second;
        QCOMPARE(int(LoadWaveFile(after, second).m_result), 0);
        double sum = 0, lo = 1e9, hi = 0;
        for (uint32_t i = 0; i < second.SampleCount(); ++i) {
            sum += second.Samples()[i];
            lo = std::min<double>(lo, second.Samples()[i]);
            hi = std::max<double>(hi, second.Samples()[i]);
        }
        QCOMPARE(cell(6, 1), QString::number(sum / second.SampleCount(), 'f', 1));
        QCOMPARE(cell(7, 1), QString::number(hi - lo, 'f', 1));
        // Both views share one time scale: a wheel turn on the first zooms the second too.
        QCOMPARE(compare.Plot(0)->accessibleName(), QStringLiteral("记录1波形"));
        QWheelEvent wheel(QPointF(300, 50), compare.Plot(0)->mapToGlobal(QPointF(300, 50)),
                          QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(compare.Plot(0), &wheel);
        QVERIFY(compare.To() - compare.From() < 59.0);
        QCOMPARE(compare.Plot(1)->Page().m_nViewStart, int64_t(std::floor(compare.From() * 200)));

        std::unique_ptr<CWorksheetDialog> dialog(compare.CreateWorksheetDialog());
        const QString pdf = dir.filePath(QStringLiteral("two.pdf"));
        SavePdf(dialog.get(), pdf);
        QCOMPARE(PdfPages(pdf), 2);
    }
};

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    tzset();
    QApplication app(argc, argv);
    ReviewToolsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "review_tools_test.moc"
