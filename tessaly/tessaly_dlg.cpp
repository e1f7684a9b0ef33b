#include "tessaly_dlg.h"

#include "about_dlg.h"
#include "dialog_units.h"
#include "resources.h"
#include "texts.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessaly {

CTessalyDlg::CTessalyDlg(CSystemLayer& system, QWidget* pParent)
    : QDialog(pParent), m_registrar(system, [this](const QString& str) { AppendLog(str); }) {
    setWindowTitle(texts::kTitle);
    setWindowIcon(ProgramIcon());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setFixedSize(DluX(346), DluY(218));

    auto* pLabel = new QLabel(texts::kLabel, this);
    pLabel->setObjectName(QStringLiteral("label"));
    const QRect rcLabel = DluRect(11, 14, 33, 8);
    // Chinese fonts other than 宋体 need a taller line; keep the top-left corner.
    pLabel->setGeometry(rcLabel.x(), rcLabel.y(), qMax(rcLabel.width(), pLabel->sizeHint().width()),
                        qMax(rcLabel.height(), pLabel->sizeHint().height()));

    m_pLogEdit = new QPlainTextEdit(this);
    m_pLogEdit->setObjectName(QStringLiteral("log"));
    m_pLogEdit->setProperty("id", kIdLog);
    m_pLogEdit->setReadOnly(true);
    m_pLogEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pLogEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pLogEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pLogEdit->setGeometry(DluRect(7, 30, 332, 158));

    m_pRegister = new QPushButton(texts::kRegister, this);
    m_pRegister->setObjectName(QStringLiteral("register"));
    m_pRegister->setDefault(true);
    m_pRegister->setGeometry(DluRect(229, 197, 50, 14));
    connect(m_pRegister, &QPushButton::clicked, this, &CTessalyDlg::OnRegister);

    m_pCancel = new QPushButton(texts::kCancel, this);
    m_pCancel->setObjectName(QStringLiteral("cancel"));
    m_pCancel->setGeometry(DluRect(284, 196, 50, 14));
    connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);

    m_pAboutAction = new QAction(texts::kAboutItem, this);
    m_pAboutAction->setData(kIdAboutBox);
    connect(m_pAboutAction, &QAction::triggered, this, &CTessalyDlg::OnAbout);
}

void CTessalyDlg::AppendLog(const QString& strMessage) {
    if (!m_log.Append(strMessage, QDateTime::currentDateTime())) {
        return;
    }
    QString strShown = m_log.GetText();
    strShown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_pLogEdit->setPlainText(strShown);
    // Newest line in view, scrolled down only: the start of the last line keeps the left edge.
    QTextCursor cursor = m_pLogEdit->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock);
    m_pLogEdit->setTextCursor(cursor);
    m_pLogEdit->verticalScrollBar()->setValue(m_pLogEdit->verticalScrollBar()->maximum());
}

void CTessalyDlg::OnRegister() {
    m_registrar.Register();
}

void CTessalyDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CTessalyDlg::contextMenuEvent(QContextMenuEvent* pEvent) {
    QMenu menu(this);
    menu.addAction(m_pAboutAction);
    menu.exec(pEvent->globalPos());
}

#ifdef _WIN32
void CTessalyDlg::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (m_bSystemMenuDone) {
        return;
    }
    m_bSystemMenuDone = true;
    HMENU hMenu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (hMenu != nullptr) {
        const std::wstring strItem = texts::kAboutItem.toStdWString();
        AppendMenuW(hMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(hMenu, MF_STRING, kIdAboutBox, strItem.c_str());
    }
}

bool CTessalyDlg::nativeEvent(const QByteArray& eventType, void* pMessage, qintptr* pResult) {
    const MSG* pMsg = static_cast<const MSG*>(pMessage);
    if (pMsg->message == WM_SYSCOMMAND &&
        (pMsg->wParam & 0xFFF0) == static_cast<WPARAM>(kIdAboutBox)) {
        OnAbout();
        *pResult = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, pMessage, pResult);
}
#endif

}  // namespace tessaly
