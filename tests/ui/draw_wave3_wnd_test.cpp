// The live plot driven offscreen: capacity, page restart, coalesced paints, the trace on screen,
// the context menu's texts, checks and commands (Shift resets the zoom).
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "ui/monitor/draw_wave3_wnd.h"

using namespace somatrix;

namespace {

class CPaintCounter : public QObject {
public:
    int m_nPaints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        m_nPaints += event->type() == QEvent::Paint;
        return false;
    }
};

QAction* Find(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions()) {
        if (a->text() == text) {
            return a;
        }
    }
    return nullptr;
}

// Right-clicks the plot and runs `inMenu` on the popup once it is open.
void WithContextMenu(CDrawWave3Wnd& plot, const std::function<void(QMenu*)>& inMenu) {
    bool ran = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        inMenu(menu);
        ran = true;
        if (menu->isVisible()) {
            menu->close();
        }
    });
    QTest::mouseClick(&plot, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QTRY_VERIFY(ran);
}

}  // namespace

class DrawWave3WndTest : public QObject {
    Q_OBJECT
private slots:
    void PagesFillRestartAndPaintCoalesced() {
        CDrawWave3Wnd plot;
        QCOMPARE(plot.accessibleName(), QString("实时波形"));
        plot.resize(600, 246);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        QCOMPARE(plot.Wave().Capacity(), 1000);

        CPaintCounter counter;
        plot.installEventFilter(&counter);
        for (int i = 0; i < 100; ++i) {
            plot.AddSample(100, -1, -1);
        }
        QTest::qWait(60);
        QVERIFY(counter.m_nPaints >= 1);
        QVERIFY(counter.m_nPaints <= 2);  // a hundred samples, one paint
        QImage shot = plot.grab().toImage();
        QCOMPARE(shot.pixelColor(30, 223), QColor(Qt::white));  // 100 at 22 pixels per 100
        QCOMPARE(shot.pixelColor(30, 200), QColor(Qt::black));

        for (int i = 0; i < 901; ++i) {
            plot.AddSample(500, -1, -1);
        }
        QCOMPARE(plot.Wave().Count(), 1);  // the 1001st sample restarted the page
        QTest::qWait(60);
        shot = plot.grab().toImage();
        QCOMPARE(shot.pixelColor(0, 135), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(30, 223), QColor(Qt::black));  // the old page is gone
    }

    void ContextMenuTextsChecksAndCommands() {
        CDrawWave3Wnd plot;
        plot.resize(600, 246);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));

        WithContextMenu(plot, [](QMenu* menu) {
            QStringList texts;
            for (QAction* a : menu->actions()) {
                texts << a->text();
            }
            QCOMPARE(texts,
                     QStringList({"放大", "缩小", "缩放模式", "波形显示", "[X=60%; Y=22%]"}));
            QMenu* scale = Find(menu, "缩放模式")->menu();
            QVERIFY(Find(scale, "缩放X轴向")->isChecked());
            QVERIFY(Find(scale, "缩放Y轴向")->isChecked());
            QMenu* display = Find(menu, "波形显示")->menu();
            QVERIFY(Find(display, "翻屏显示")->isChecked());
            QVERIFY(!Find(display, "滚动显示")->isChecked());
            QAction* zoomIn = Find(menu, "放大");
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                              menu->actionGeometry(zoomIn).center());
        });
        QCOMPARE(plot.Wave().ZoomLabel(), std::string("[X=70%; Y=27%]"));
        QCOMPARE(plot.Wave().Capacity(), 857);  // 600 * 100 / 70

        WithContextMenu(plot, [](QMenu* menu) {
            QVERIFY(Find(menu, "[X=70%; Y=27%]"));
            QAction* zoomIn = Find(menu, "放大");  // with Shift: a reset, not 80/32
            QTest::mouseClick(menu, Qt::LeftButton, Qt::ShiftModifier,
                              menu->actionGeometry(zoomIn).center());
        });
        QCOMPARE(plot.Wave().ZoomLabel(), std::string("[X=60%; Y=22%]"));

        WithContextMenu(plot, [](QMenu* menu) {
            Find(Find(menu, "波形显示")->menu(), "滚动显示")->trigger();
            Find(Find(menu, "缩放模式")->menu(), "缩放Y轴向")->trigger();
        });
        QVERIFY(plot.Wave().Scroll());
        QVERIFY(!plot.Wave().ScaleY());
        WithContextMenu(plot, [](QMenu* menu) {
            QVERIFY(Find(Find(menu, "波形显示")->menu(), "滚动显示")->isChecked());
            QVERIFY(!Find(Find(menu, "波形显示")->menu(), "翻屏显示")->isChecked());
            QVERIFY(!Find(Find(menu, "缩放模式")->menu(), "缩放Y轴向")->isChecked());
            Find(menu, "[X=60%; Y=22%]")->trigger();  // the label does nothing
        });
        QCOMPARE(plot.Wave().ZoomLabel(), std::string("[X=60%; Y=22%]"));

        // A device selection's zoom is not a default: a reset still restores 60/22.
        plot.SetZoom(60, 100);
        plot.OnCommand(ids::kPlotZoomIn);
        QCOMPARE(plot.Wave().ZoomLabel(), std::string("[X=70%; Y=100%]"));  // Y is off
    }
};

QTEST_MAIN(DrawWave3WndTest)
#include "draw_wave3_wnd_test.moc"
