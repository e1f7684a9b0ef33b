#pragma once
// The About box (dialog 100): the program icon, "Somatrix V1.2.2" and a default "确定" button.
#include <QDialog>

namespace somatrix {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace somatrix
