#include "about_dlg.h"

#include "dialog_units.h"
#include "resources.h"
#include "texts.h"

#include <QLabel>
#include <QPushButton>

namespace tessaly {

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(texts::kAboutTitle);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setFixedSize(DluX(170), DluY(62));

    auto* pIcon = new QLabel(this);
    pIcon->setObjectName(QStringLiteral("icon"));
    pIcon->setPixmap(ProgramIcon().pixmap(32, 32));
    pIcon->setGeometry(DluX(14), DluY(14), 32, 32);

    auto* pVersion = new QLabel(texts::kAboutVersion, this);
    pVersion->setObjectName(QStringLiteral("version"));
    pVersion->setGeometry(DluRect(42, 14, 114, 12));

    auto* pOk = new QPushButton(texts::kOk, this);
    pOk->setObjectName(QStringLiteral("ok"));
    pOk->setDefault(true);
    pOk->setGeometry(DluRect(113, 41, 50, 14));
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tessaly
