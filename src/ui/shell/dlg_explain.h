#pragma once
// The sensor explanation panel: a picture of the selected sensor from the JPG folder of the
// program folder, "公司.jpg" when the sensor has none of its own. A child of the monitoring
// view, placed by it; GUI thread only.
#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace somatrix {

class CDlgExplain : public QWidget {
    Q_OBJECT
public:
    // Dialog 102 and its one control, the black-framed picture area 1030, in dialog units.
    static constexpr int kDialogId = 102;
    static constexpr int kPictureAreaId = 1030;
    // The picture is stretched over this many pixels from the picture area's top-left corner,
    // whatever its proportions; on a panel too small for that rectangle it is scaled down as a
    // whole (PaintedPictureSize), so it stays entire and in proportion.
    static constexpr int kPictureWidth = 1080;
    static constexpr int kPictureHeight = 370;
    // The size the picture is painted at in a picture area of `area`.
    static QSize PaintedPictureSize(const QSize& area);

    // `programFolder` ends with a separator; the pictures are in its JPG subfolder.
    explicit CDlgExplain(const QString& programFolder, QWidget* parent = nullptr);
    ~CDlgExplain() override;

    // Called on every device selection.
    void ShowSensorPicture(uint8_t type);
    // Loads one picture by file name; a missing file keeps the previous picture.
    void LoadPicture(const QString& fileName);

    // The file name shown for a sensor type code.
    static QString PictureFileForType(uint8_t type);

    // The decoded picture on display (null when none or when the last file did not decode),
    // and its size in hundredths of a millimetre.
    const QImage& Picture() const { return m_imgPicture; }
    int PictureWidth() const { return m_nPictureWidth; }
    int PictureHeight() const { return m_nPictureHeight; }
    // The picture area control (1030).
    QWidget* PictureArea() const { return m_pPictureArea; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class CPictureArea;
    void FitPictureArea();
    void PaintPicture(QWidget* area);
    void ReleasePicture();

    QString m_strProgramFolder;
    QWidget* m_pPictureArea = nullptr;
    QByteArray m_baFile;      // the last loaded file's bytes
    QImage m_imgPicture;      // decoded from m_baFile
    QPixmap m_pixStretched;   // m_imgPicture stretched to the painted size, made on demand
    int m_nPictureWidth = 0;  // hundredths of a millimetre
    int m_nPictureHeight = 0;
};

}  // namespace somatrix
