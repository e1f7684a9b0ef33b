// The operation panel through a pulled cable: the "取消重连" button in place of start and stop
// while the hub waits for the device, and the runner that looks for it.
#include <QPushButton>

#include "platform/reconnect_runner.h"
#include "protocol/oper_texts.h"
#include "ui/monitor/dialog_units.h"
#include "ui/monitor/dlg_oper.h"

namespace somatrix {

void CDlgOper::CreateReconnectControls() {
    m_pCancelReconnect =
        MakeButton(kIdCancelReconnect, texts::kCancelReconnect, DluRect(8, 140, 86, 20));
    m_pCancelReconnect->setAccessibleName(QString::fromUtf8(texts::kCancelReconnect));
    m_pCancelReconnect->hide();
    connect(m_pCancelReconnect, &QPushButton::clicked, this, [this] { m_core.CancelReconnect(); });
}

void CDlgOper::ShowWaiting(bool waiting) {
    m_pCancelReconnect->setVisible(waiting);
    m_pStart->setVisible(!waiting);
    m_pStop->setVisible(!waiting);
    emit WaitingForDeviceChanged(waiting);
}

void CDlgOper::LinkWaitStarted(const std::string& lostPort) {
    if (m_pTap) {
        m_pTap->LinkWaitStarted(lostPort);
    }
    m_pReconnectRunner->OnWaitStarted();
    ShowWaiting(true);
}

void CDlgOper::LinkRestored(const std::string& port) {
    if (m_pTap) {
        m_pTap->LinkRestored(port);
    }
    EndWaiting();
}

void CDlgOper::LinkWaitEnded() {
    if (m_pTap) {
        m_pTap->LinkWaitEnded();
    }
    EndWaiting();
}

void CDlgOper::EndWaiting() {
    // Also called while the panel closes, after the runner has gone.
    if (m_pReconnectRunner) {
        m_pReconnectRunner->OnWaitEnded();
    }
    ShowWaiting(false);
}

}  // namespace somatrix
