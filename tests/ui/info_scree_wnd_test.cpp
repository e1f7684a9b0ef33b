// The information panel driven offscreen: colours, rows per type and state as its accessible
// description tells them after each repaint.
#include <QAccessible>
#include <QImage>
#include <QtTest>

#include "ui/monitor/info_scree_wnd.h"

using namespace somatrix;

namespace {
// What a screen reader reads of the panel.
QString Described(QWidget& panel) {
    return QAccessible::queryAccessibleInterface(&panel)->text(QAccessible::Description);
}
}  // namespace

class InfoScreeWndTest : public QObject {
    Q_OBJECT
private slots:
    void RowsPerTypeAndStateAfterEachRepaint() {
        CInfoScreeWnd panel;
        QCOMPARE(QAccessible::queryAccessibleInterface(&panel)->text(QAccessible::Name),
                 QString("测量数值"));
        panel.resize(204, 176);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));

        panel.SetSensor(0xCD, QString("血压"));
        panel.SetMeasuring(true);
        panel.SetValues(123, 0, -1, -1);
        QTRY_COMPARE(Described(panel), QString("血压\n123 mmHg"));
        const QImage shot = panel.grab().toImage();
        QCOMPARE(shot.pixelColor(200, 170), QColor(0, 0, 128));
        bool green = false, yellow = false;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 60; ++x) {
                green |= shot.pixelColor(x, y) == QColor(0, 255, 0);
            }
        }
        for (int y = 40; y < 60; ++y) {
            for (int x = 10; x < 100; ++x) {
                yellow |= shot.pixelColor(x, y) == QColor(255, 255, 128);
            }
        }
        QVERIFY(green);
        QVERIFY(yellow);

        panel.SetResultValues(120, 80, 72, 128);
        panel.SetMeasuring(false);
        QTRY_COMPARE(Described(panel),
                     QString("血压\n收缩压: 120mmHg\n舒张压: 80mmHg\n心  率: 72次/分\n"
                             "提  示: 心率不齐"));
        panel.SetValues(143, 0, -1, -1);  // a data frame still on its way after Stop
        QTRY_COMPARE(Described(panel), QString("血压\n143 mmHg"));

        panel.SetSensor(0xCE, QString("心电"));
        panel.SetMaxMin(true, 900, 100, -1, -1);
        panel.SetMeasuring(true);
        panel.SetValues(512, -1, -1, -1);
        // The ECG panel's extra row: no rate before three beats.
        QTRY_COMPARE(Described(panel), QString("心电\t最大/小值\n512\t900/100\n心率: --"));
        panel.SetSensor(0xC9, QString("体温"));
        panel.SetValues(365, -1, -1, -1);
        QTRY_COMPARE(Described(panel), QString("体温\t最大/小值\n36.5"));
        panel.SetMaxMin(true, 372, 365, -1, -1);
        QTRY_COMPARE(Described(panel), QString("体温\t最大/小值\n36.5\t37.2/36.5"));
    }

    void EveryTextFitsThePanelWithoutOverlapping() {
        CInfoScreeWnd panel;
        panel.resize(204, 176);  // the 136 x 108 placeholder
        panel.SetMeasuring(true);
        struct CCase {
            uint8_t type;
            std::array<int, 4> values;
            std::array<int, 4> extremes;  // max1, min1, max2, min2; all -1: switch off
            int texts;                    // header and value texts expected
        };
        const CCase cases[] = {
            {0xC7, {109, 98, 75, -1}, {255, 100, 100, 90}, 7},
            {0xC7, {65535, 100, 255, -1}, {-1, -1, -1, -1}, 4},
            {0xC3, {65535, 65535, -1, -1}, {65535, 10000, 65535, 10000}, 6},
            {0xCE, {65535, -1, -1, -1}, {65535, 65535, -1, -1}, 5},  // with "心率: --"
        };
        for (const CCase& c : cases) {
            panel.SetSensor(c.type, QString("传感器"));
            const bool on = c.extremes[0] >= 0;
            panel.SetMaxMin(on, c.extremes[0], c.extremes[1], c.extremes[2], c.extremes[3]);
            panel.SetValues(c.values[0], c.values[1], c.values[2], c.values[3]);
            const std::vector<CPaintedText> texts = panel.PaintedTexts();
            QCOMPARE(static_cast<int>(texts.size()), c.texts);
            for (size_t i = 0; i < texts.size(); ++i) {
                const QRect& a = texts[i].m_rc;
                QVERIFY2(a.left() >= 0 && a.right() < panel.width(),
                         qPrintable(texts[i].m_strText));
                for (size_t j = i + 1; j < texts.size(); ++j) {
                    QVERIFY2(!a.intersects(texts[j].m_rc),
                             qPrintable(texts[i].m_strText + " / " + texts[j].m_strText));
                }
            }
        }
    }

    void FontsFallBackToAnInstalledCjkFace() {
        const QFont font = CInfoScreeWnd::PanelFont(16, 11);
        QCOMPARE(font.families().front(), QString("宋体"));
        QCOMPARE(font.pixelSize(), 16);
        QCOMPARE(font.weight(), QFont::ExtraBold);
        QVERIFY(QFontMetrics(font).inFont(QChar(0x6536)));  // 收
        // 11 pixels wide: an ideograph takes two such cells.
        QVERIFY(std::abs(QFontMetrics(font).horizontalAdvance(QChar(0x6536)) - 22) <= 1);
    }
};

QTEST_MAIN(InfoScreeWndTest)
#include "info_scree_wnd_test.moc"
