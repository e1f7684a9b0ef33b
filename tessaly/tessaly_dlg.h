#pragma once
// The main dialog: a log area and the register and cancel buttons. The about box is reached
// from the window's system menu on Windows and from the dialog's context menu everywhere.
#include "log_text.h"
#include "registrar.h"

#include <QDialog>

class QAction;
class QPlainTextEdit;
class QPushButton;

namespace tessaly {

class CTessalyDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIdLog = 1000;
    static constexpr int kIdAboutBox = 16;

    explicit CTessalyDlg(CSystemLayer& system, QWidget* pParent = nullptr);

    // Adds one line stamped with the local time and shows the newest line.
    void AppendLog(const QString& strMessage);

    QAction* GetAboutAction() const { return m_pAboutAction; }

protected:
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
#ifdef _WIN32
    void showEvent(QShowEvent* pEvent) override;
    bool nativeEvent(const QByteArray& eventType, void* pMessage, qintptr* pResult) override;
#endif

private:
    void OnRegister();
    void OnAbout();

    CRegistrar m_registrar;
    CLogText m_log;
    QPlainTextEdit* m_pLogEdit = nullptr;
    QPushButton* m_pRegister = nullptr;
    QPushButton* m_pCancel = nullptr;
    QAction* m_pAboutAction = nullptr;
#ifdef _WIN32
    bool m_bSystemMenuDone = false;
#endif
};

}  // namespace tessaly
