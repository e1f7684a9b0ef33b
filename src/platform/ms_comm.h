#pragma once
// The operation panel's serial link over Qt Serial Port: opened by name at 115200 8N1, every
// arrival handed to the listener's OnComm from the event loop of the thread that owns it (the
// GUI thread), requests written whole and pushed out at once. A port that disappears (USB
// unplugged, pseudo-terminal closed) is closed once and reported through OnLinkLost; the closed
// port raises no further events, so nothing spins. A write reports failure with the port's text
// when its bytes could not be handed to the driver.
#include <QSerialPort>
#include <cstdint>
#include <functional>

#include "protocol/serial_link.h"

namespace somatrix {

class CMSComm : public QObject, public CSerialLink {
public:
    explicit CMSComm(QObject* parent = nullptr);
    ~CMSComm() override;

    bool Open(const std::string& port, std::string& error) override;
    bool Close(std::string& error) override;
    bool IsOpen() const override { return m_port.isOpen(); }
    std::string CurrentPort() const override { return m_strPort; }
    bool Write(const uint8_t* data, size_t n, std::string& error) override;
    void SetListener(CSerialLinkListener* listener) override { m_pListener = listener; }
    // For measuring the window at work: called with the steady-clock time (ns) at which each
    // receive event began, before its bytes go to the listener.
    void SetArrivalObserver(std::function<void(int64_t)> observer) {
        m_onArrival = std::move(observer);
    }

private:
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    CSerialLinkListener* m_pListener = nullptr;
    std::string m_strPort;
    bool m_bWriting = false;
    std::string m_strLost;  // error text of a loss found by the write under way
    std::function<void(int64_t)> m_onArrival;
};

}  // namespace somatrix
