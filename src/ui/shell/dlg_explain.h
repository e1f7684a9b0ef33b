#pragma once
// The sensor explanation panel: a picture of the selected sensor from the JPG folder of the
// program folder, "公司.jpg" when the sensor has none of its own.
#include <QString>
#include <QWidget>
#include <cstdint>

namespace somatrix {

class CDlgExplain : public QWidget {
    Q_OBJECT
public:
    // `programFolder` ends with a separator; the pictures are in its JPG subfolder.
    explicit CDlgExplain(const QString& programFolder, QWidget* parent = nullptr);
    ~CDlgExplain() override;

    // Called on every device selection.
    void ShowSensorPicture(uint8_t type);
    // Loads one picture by file name; a missing file keeps the previous picture.
    void LoadPicture(const QString& fileName);
};

}  // namespace somatrix
