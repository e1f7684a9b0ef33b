#include "ui/shell/dlg_explain.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <new>

namespace somatrix {

namespace {

// The panel's dialog units in pixels: the classic 8-point dialog font, as the operation panel
// uses, so both panels keep the proportions they were designed with.
constexpr double kUnitX = 1.5;
constexpr double kUnitY = 1.625;

QRect DialogUnitsToPixels(int x, int y, int cx, int cy) {
    const int left = qRound(x * kUnitX);
    const int top = qRound(y * kUnitY);
    return QRect(left, top, qRound((x + cx) * kUnitX) - left, qRound((y + cy) * kUnitY) - top);
}

// Our pictures are a few hundred kilobytes; anything far beyond is not a picture of ours and
// is refused like a failed allocation rather than read whole into memory.
constexpr qint64 kMaxPictureFileBytes = 64 * 1024 * 1024;

constexpr char kCompanyPicture[] = "公司.jpg";

}  // namespace

// The black-framed static control 1030 on which the panel draws its picture.
class CPictureArea : public QWidget {
public:
    explicit CPictureArea(CDlgExplain* panel) : QWidget(panel), m_pPanel(panel) {
        setAutoFillBackground(true);  // the dialog background below the picture
    }

protected:
    void paintEvent(QPaintEvent*) override { m_pPanel->PaintPicture(this); }

private:
    CDlgExplain* m_pPanel;
};

CDlgExplain::CDlgExplain(const QString& programFolder, QWidget* parent)
    : QWidget(parent), m_strProgramFolder(programFolder) {
    setObjectName(QStringLiteral("CDlgExplain"));
    setAccessibleName(QStringLiteral("传感器说明"));
    // Borderless child dialog: the dialog background shows around the picture area.
    setAutoFillBackground(true);
    resize(DialogUnitsToPixels(0, 0, 762, 312).size());

    m_pPictureArea = new CPictureArea(this);
    m_pPictureArea->setObjectName(QString::number(kPictureAreaId));
    FitPictureArea();

    LoadPicture(QString::fromUtf8(kCompanyPicture));
    update();
}

CDlgExplain::~CDlgExplain() = default;

void CDlgExplain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitPictureArea();
}

void CDlgExplain::FitPictureArea() {
    // The dialog's own rectangle, made smaller where the panel is: on a small screen the whole
    // picture stays in view rather than its right and bottom parts being cut off.
    const QRect designed = DialogUnitsToPixels(1, 1, 705, 256);
    const int width = std::max(0, std::min(designed.width(), this->width() - designed.x() - 1));
    const int height = std::max(0, std::min(designed.height(), this->height() - designed.y() - 1));
    m_pPictureArea->setGeometry(designed.x(), designed.y(), width, height);
}

QSize CDlgExplain::PaintedPictureSize(const QSize& area) {
    // The 1080 x 370 rectangle the pictures are made for, scaled down as a whole, never up,
    // until it fits the area: the picture keeps its proportions at any panel size.
    const double scale = std::min(
        {1.0, double(area.width()) / kPictureWidth, double(area.height()) / kPictureHeight});
    return {std::max(1, qRound(kPictureWidth * scale)),
            std::max(1, qRound(kPictureHeight * scale))};
}

QString CDlgExplain::PictureFileForType(uint8_t type) {
    switch (type) {
        case 0xC0:
        case 0xCD:
            return QStringLiteral("血压传感器.jpg");
        case 0xC5:
            return QStringLiteral("皮肤电阻传感器.jpg");
        case 0xC7:
            return QStringLiteral("血氧传感器.jpg");
        case 0xC9:
            return QStringLiteral("体温传感器.jpg");
        case 0xCA:
            return QStringLiteral("VT-306脉搏.jpg");
        case 0xCB:
            return QStringLiteral("VT-305红外脉搏.jpg");
        case 0xCC:
            return QStringLiteral("呼吸传感器.jpg");
        case 0xCE:
            return QStringLiteral("心电传感器.jpg");
        default:
            return QString::fromUtf8(kCompanyPicture);
    }
}

void CDlgExplain::ShowSensorPicture(uint8_t type) {
    LoadPicture(PictureFileForType(type));
    update();
    m_pPictureArea->update();
}

void CDlgExplain::LoadPicture(const QString& fileName) {
    if (fileName.isEmpty()) {
        return;
    }
    const QString path = m_strProgramFolder + QStringLiteral("JPG/") + fileName;
    if (!QFileInfo(path).isFile()) {
        return;  // the previous picture stays on display
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return;  // as good as missing: nothing has been released yet
    }
    const qint64 size = file.size();
    // The previous file's bytes go before the new ones are read, as with one reused block; a
    // picture whose bytes cannot be held is not drawn from freed memory but cleared.
    m_baFile.clear();
    m_baFile.squeeze();
    if (size > kMaxPictureFileBytes) {
        ReleasePicture();
        return;
    }
    try {
        m_baFile = file.read(size);
    } catch (const std::bad_alloc&) {
        m_baFile.clear();
        ReleasePicture();
        return;
    }
    file.close();
    ReleasePicture();

    QImage image;
    if (image.loadFromData(m_baFile)) {
        m_imgPicture = image;
        // Picture sizes are kept in hundredths of a millimetre, from the resolution stored in
        // the file (or the screen's 96 dpi when it stores none).
        const int dpmX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 3780;
        const int dpmY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : 3780;
        m_nPictureWidth = static_cast<int>(qint64(image.width()) * 100000 / dpmX);
        m_nPictureHeight = static_cast<int>(qint64(image.height()) * 100000 / dpmY);
        setAccessibleDescription(QFileInfo(fileName).completeBaseName());
    } else {
        setAccessibleDescription(QString());
    }
}

void CDlgExplain::ReleasePicture() {
    m_imgPicture = QImage();
    m_pixStretched = QPixmap();
    m_nPictureWidth = 0;
    m_nPictureHeight = 0;
}

void CDlgExplain::PaintPicture(QWidget* area) {
    QPainter painter(area);
    // The black frame of the static control.
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area->rect().adjusted(0, 0, -1, -1));
    if (m_imgPicture.isNull()) {
        return;
    }
    // Stretch once per picture, size and screen scale, not on every paint.
    const qreal ratio = area->devicePixelRatioF();
    const QSize painted = PaintedPictureSize(area->size());
    const QSize device(qRound(painted.width() * ratio), qRound(painted.height() * ratio));
    if (m_pixStretched.isNull() || m_pixStretched.size() != device) {
        m_pixStretched = QPixmap::fromImage(
            m_imgPicture.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_pixStretched.setDevicePixelRatio(ratio);
    }
    painter.drawPixmap(0, 0, m_pixStretched);
}

}  // namespace somatrix
