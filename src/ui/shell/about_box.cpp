#include "ui/shell/about_box.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "ui/monitor/dialog_units.h"

namespace somatrix {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于 Somatrix"));
    setFixedSize(DluToPxX(170), DluToPxY(62));

    auto* icon = new QLabel(this);
    QIcon programIcon = QApplication::windowIcon();
    if (programIcon.isNull()) {
        programIcon = style()->standardIcon(QStyle::SP_ComputerIcon);
    }
    icon->setPixmap(programIcon.pixmap(32, 32));
    icon->setGeometry(DluToPxX(14), DluToPxY(14), 32, 32);
    icon->setAccessibleName(QStringLiteral("Somatrix"));

    auto* version = new QLabel(QStringLiteral("Somatrix V" SOMATRIX_VERSION), this);
    version->setGeometry(DluRect(42, 14, 114, 8));

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setGeometry(DluRect(113, 41, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace somatrix
