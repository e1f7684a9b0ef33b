#pragma once
// A serial link that records what is written and can be told to fail or to lose its port.
#include <vector>

#include "protocol/serial_link.h"

namespace somatrix::test {

class CFakeLink : public CSerialLink {
public:
    std::vector<std::vector<uint8_t>> m_writes;
    std::vector<std::string> m_opens;
    bool m_bOpen = false;
    bool m_bFailOpen = false;
    bool m_bFailWrite = false;
    std::string m_strPort;
    CSerialLinkListener* m_pListener = nullptr;

    bool Open(const std::string& port, std::string& error) override {
        m_opens.push_back(port);
        if (m_bFailOpen) {
            error = "no such port";
            return false;
        }
        m_bOpen = true;
        m_strPort = port;
        return true;
    }
    bool Close(std::string&) override {
        m_bOpen = false;
        m_strPort.clear();
        return true;
    }
    bool IsOpen() const override { return m_bOpen; }
    std::string CurrentPort() const override { return m_strPort; }
    bool Write(const uint8_t* data, size_t n, std::string& error) override {
        if (!m_bOpen || m_bFailWrite) {
            error = m_bOpen ? "write failed" : "port closed";
            return false;
        }
        m_writes.emplace_back(data, data + n);
        return true;
    }
    void SetListener(CSerialLinkListener* listener) override { m_pListener = listener; }

    // The device goes away: the link closes itself and says so.
    void Unplug() {
        m_bOpen = false;
        if (m_pListener) {
            m_pListener->OnLinkLost("device removed");
        }
    }
    std::vector<uint8_t> TakeLastWrite() {
        if (m_writes.empty()) {
            return {};
        }
        std::vector<uint8_t> w = m_writes.back();
        m_writes.clear();
        return w;
    }
};

// Frame bytes with a correct checksum.
inline std::vector<uint8_t> MakeFrame(uint8_t type, uint8_t command,
                                      std::vector<uint8_t> payload = {}) {
    std::vector<uint8_t> f(payload.size() + 5);
    f[0] = 0xFF;
    f[1] = type;
    f[2] = static_cast<uint8_t>(payload.size() + 3);
    f[4] = command;
    unsigned sum = f[2] + command;
    for (size_t i = 0; i < payload.size(); ++i) {
        f[5 + i] = payload[i];
        sum += payload[i];
    }
    f[3] = static_cast<uint8_t>(sum);
    return f;
}

}  // namespace somatrix::test
