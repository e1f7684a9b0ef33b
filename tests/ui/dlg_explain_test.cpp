// The explanation panel over a program folder of its own: which file each sensor type shows,
// how it is painted, what a missing or broken file leaves; and the pictures and icons that the
// build renders.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/shell/dlg_explain.h"

using somatrix::CDlgExplain;

namespace {

// Every file name of the table, each given a colour of its own in the test folder.
struct CPictureCase {
    const char* file;
    QRgb color;
};
const CPictureCase kPictures[] = {
    {"血压传感器.jpg", qRgb(200, 0, 0)},   {"皮肤电阻传感器.jpg", qRgb(0, 200, 0)},
    {"血氧传感器.jpg", qRgb(0, 0, 200)},   {"体温传感器.jpg", qRgb(200, 200, 0)},
    {"VT-306脉搏.jpg", qRgb(200, 0, 200)}, {"VT-305红外脉搏.jpg", qRgb(0, 200, 200)},
    {"呼吸传感器.jpg", qRgb(120, 60, 0)},  {"心电传感器.jpg", qRgb(0, 60, 120)},
    {"公司.jpg", qRgb(90, 90, 90)},
};

QRgb ColorOf(const char* file) {
    for (const auto& c : kPictures) {
        if (QString::fromUtf8(c.file) == QString::fromUtf8(file)) {
            return c.color;
        }
    }
    return 0;
}

// JPEG shifts colours a little.
bool Near(QRgb a, QRgb b) {
    return qAbs(qRed(a) - qRed(b)) < 24 && qAbs(qGreen(a) - qGreen(b)) < 24 &&
           qAbs(qBlue(a) - qBlue(b)) < 24;
}

QRgb Middle(const QImage& image) {
    return image.pixel(image.width() / 2, image.height() / 2);
}

}  // namespace

class CDlgExplainTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString Folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString JpgPath(const char* file) const {
        return m_dir.path() + QStringLiteral("/JPG/") + QString::fromUtf8(file);
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("JPG"));
        for (const auto& c : kPictures) {
            QImage image(64, 32, QImage::Format_RGB32);
            image.fill(c.color);
            QVERIFY(image.save(JpgPath(c.file), "JPG", 95));
        }
    }

    void PicturePerSensorType() {
        CDlgExplain panel(Folder());
        QCOMPARE(panel.accessibleName(), QStringLiteral("传感器说明"));
        QVERIFY(Near(Middle(panel.Picture()), ColorOf("公司.jpg")));

        const struct {
            uint8_t type;
            const char* file;
        } table[] = {
            {0xC0, "血压传感器.jpg"},     {0xCD, "血压传感器.jpg"}, {0xC5, "皮肤电阻传感器.jpg"},
            {0xC7, "血氧传感器.jpg"},     {0xC9, "体温传感器.jpg"}, {0xCA, "VT-306脉搏.jpg"},
            {0xCB, "VT-305红外脉搏.jpg"}, {0xCC, "呼吸传感器.jpg"}, {0xCE, "心电传感器.jpg"},
            {0xB1, "公司.jpg"},           {0xC3, "公司.jpg"},       {0xC4, "公司.jpg"},
            {0xC6, "公司.jpg"},           {0xC8, "公司.jpg"}};
        for (const auto& row : table) {
            panel.ShowSensorPicture(row.type);
            QVERIFY2(Near(Middle(panel.Picture()), ColorOf(row.file)),
                     qPrintable(QString::number(row.type, 16)));
        }
    }

    void PaintsStretchedOverFixedRectangle() {
        // A square picture, top half white and bottom half black: stretched to 1080 x 370 its
        // halves meet at y = 185; drawn in proportion they would meet much lower.
        QImage square(100, 100, QImage::Format_RGB32);
        square.fill(Qt::white);
        for (int y = 50; y < 100; ++y) {
            for (int x = 0; x < 100; ++x) {
                square.setPixel(x, y, qRgb(0, 0, 0));
            }
        }
        QVERIFY(square.save(JpgPath("公司.jpg"), "JPG", 95));
        CDlgExplain panel(Folder());
        panel.resize(1400, 600);
        const QImage shot = panel.PictureArea()->grab().toImage();
        QVERIFY(shot.width() >= 1000 && shot.height() >= 370);
        QVERIFY(Near(shot.pixel(500, 150), qRgb(255, 255, 255)));
        QVERIFY(Near(shot.pixel(500, 300), qRgb(0, 0, 0)));
        QVERIFY(Near(shot.pixel(1000, 300), qRgb(0, 0, 0)));
        // Nothing of the picture below its 370 rows.
        if (shot.height() > 380) {
            QVERIFY(!Near(shot.pixel(500, 376), qRgb(0, 0, 0)));
        }
    }

    void MissingFileKeepsPreviousPicture() {
        CDlgExplain panel(Folder());
        panel.ShowSensorPicture(0xC7);
        QVERIFY(QFile::remove(JpgPath("VT-306脉搏.jpg")));
        panel.ShowSensorPicture(0xCA);
        QVERIFY(Near(Middle(panel.Picture()), ColorOf("血氧传感器.jpg")));
        panel.LoadPicture(QString());
        QVERIFY(Near(Middle(panel.Picture()), ColorOf("血氧传感器.jpg")));

        // A file that does not decode leaves the picture area empty.
        QFile broken(JpgPath("呼吸传感器.jpg"));
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("not a picture");
        broken.close();
        panel.ShowSensorPicture(0xCC);
        QVERIFY(panel.Picture().isNull());
        const QImage shot = panel.PictureArea()->grab().toImage();
        QVERIFY(!Near(shot.pixel(300, 150), ColorOf("血氧传感器.jpg")));

        // A folder without pictures at all starts empty.
        QTemporaryDir empty;
        CDlgExplain bare(empty.path() + QLatin1Char('/'));
        QVERIFY(bare.Picture().isNull());
    }

    void BuildRendersEveryPictureAndIcon() {
        const QString folder = QStringLiteral(SOMATRIX_PROGRAM_DIR "/JPG/");
        for (const auto& c : kPictures) {
            QImage image(folder + QString::fromUtf8(c.file));
            QVERIFY2(!image.isNull(), c.file);
            QCOMPARE(image.size(), QSize(1080, 370));
        }
        for (int id = 19000; id <= 19007; ++id) {
            const QString name = QStringLiteral(":/icons/toolbar/%1").arg(id);
            QCOMPARE(QImage(name + QStringLiteral(".png")).size(), QSize(32, 32));
            QCOMPARE(QImage(name + QStringLiteral("@2x.png")).size(), QSize(64, 64));
        }
        QVERIFY(!QIcon(QStringLiteral(":/icons/somatrix.png")).isNull());
        const QString hicolor = QStringLiteral(SOMATRIX_PROGRAM_DIR "/../assets/hicolor/");
        for (int size : {48, 64, 128, 256}) {
            QCOMPARE(QImage(hicolor + QStringLiteral("%1x%1/apps/somatrix.png").arg(size)).size(),
                     QSize(size, size));
        }
        QVERIFY(QFile::exists(hicolor + QStringLiteral("scalable/apps/somatrix.svg")));
    }
};

QTEST_MAIN(CDlgExplainTest)
#include "dlg_explain_test.moc"
