#pragma once
// The about box: the program icon, the version line and an OK button.
#include <QDialog>

namespace tessaly {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};

}  // namespace tessaly
