#include "platform/ms_comm.h"

#include <chrono>
#include <cstdio>

#include "platform/serial_probe_port.h"
#include "protocol/oper_texts.h"

namespace somatrix {

namespace {

std::string PortBusyText(const std::string& port) {
    char text[160];
    std::snprintf(text, sizeof text, texts::kPortBusy, port.c_str());
    return text;
}

}  // namespace

CMSComm::CMSComm(QObject* parent) : QObject(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &CMSComm::OnReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &CMSComm::OnError);
}

CMSComm::~CMSComm() {
    m_pListener = nullptr;
    m_port.close();
}

bool CMSComm::Open(const std::string& port, std::string& error) {
    if (m_port.isOpen()) {
        error = QSerialPort::tr("Device is already open").toStdString();
        return false;
    }
    m_port.setPortName(QString::fromStdString(port));
    m_port.setBaudRate(QSerialPort::Baud115200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        error = m_port.errorString().toStdString();
        m_port.clearError();
        return false;
    }
#ifndef _WIN32
    if (!LockPort(static_cast<int>(m_port.handle()))) {
        m_port.close();
        error = PortBusyText(port);
        return false;
    }
#endif
    m_strPort = port;
    return true;
}

bool CMSComm::Close(std::string& error) {
    if (!m_port.isOpen()) {
        return true;
    }
    m_port.close();
    m_strPort.clear();
    if (m_port.error() != QSerialPort::NoError) {
        error = m_port.errorString().toStdString();
        m_port.clearError();
        return false;
    }
    return true;
}

bool CMSComm::Write(const uint8_t* data, size_t n, std::string& error) {
    if (!m_port.isOpen()) {
        error = texts::kPortNotOpen;
        return false;
    }
    // write() only queues the bytes; flush() hands them to the driver now, and only its result
    // says whether they left. A port whose other end has gone fails here, not in write().
    m_bWriting = true;
    m_strLost.clear();
    const qint64 written =
        m_port.write(reinterpret_cast<const char*>(data), static_cast<qint64>(n));
    const bool flushed = written == static_cast<qint64>(n) && m_port.isOpen() && m_port.flush();
    m_bWriting = false;
    if (flushed && m_port.isOpen() && m_port.error() == QSerialPort::NoError) {
        return true;
    }
    if (!m_strLost.empty()) {
        error = m_strLost;  // OnError has closed the port already
    } else {
        error = m_port.errorString().toStdString();
        m_port.clearError();
    }
    return false;
}

void CMSComm::OnReadyRead() {
    if (m_onArrival) {
        m_onArrival(std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
    }
    const QByteArray data = m_port.readAll();
    if (m_pListener && !data.isEmpty()) {
        m_pListener->OnComm(reinterpret_cast<const uint8_t*>(data.constData()),
                            static_cast<size_t>(data.size()));
    }
}

void CMSComm::OnError(QSerialPort::SerialPortError error) {
    // A vanished device shows as a resource error, a hung-up terminal as a read error; either
    // would fire again on every event-loop turn while the port stays open.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) {
        return;
    }
    if (!m_port.isOpen()) {
        return;
    }
    const std::string text = m_port.errorString().toStdString();
    m_port.close();
    m_port.clearError();
    m_strPort.clear();
    if (m_bWriting) {
        // Found by a write: the writer reports the text first, and the hub hears of the loss
        // once the write has returned, not in the middle of sending its request.
        m_strLost = text;
        QMetaObject::invokeMethod(
            this,
            [this, text] {
                m_strLost.clear();
                if (m_pListener && !m_port.isOpen()) {
                    m_pListener->OnLinkLost(text);
                }
            },
            Qt::QueuedConnection);
        return;
    }
    if (m_pListener) {
        m_pListener->OnLinkLost(text);
    }
}

}  // namespace somatrix
