// The Windows probe port: the original's overlapped access with a read time-out that returns at
// once with whatever has arrived.
#ifdef _WIN32

#include <windows.h>

#include <cstring>

#include "platform/serial_probe_port.h"

namespace somatrix {

namespace {

class CWinProbePort : public CProbePort {
public:
    explicit CWinProbePort(HANDLE handle) : m_hPort(handle) {
        m_write.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_read.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~CWinProbePort() override {
        ::PurgeComm(m_hPort, PURGE_TXABORT | PURGE_RXABORT);
        ::CloseHandle(m_hPort);  // completes the pending write before its event goes
        ::CloseHandle(m_write.hEvent);
        ::CloseHandle(m_read.hEvent);
    }
    CWinProbePort(const CWinProbePort&) = delete;
    CWinProbePort& operator=(const CWinProbePort&) = delete;

    void Purge() override {
        ::PurgeComm(m_hPort, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    }

    void Write(const uint8_t* data, size_t n) override {
        // The request must outlive the overlapped write, which is started and not waited for.
        m_nRequestBytes = static_cast<DWORD>(n < sizeof m_request ? n : sizeof m_request);
        std::memcpy(m_request, data, m_nRequestBytes);
        ::ResetEvent(m_write.hEvent);
        ::WriteFile(m_hPort, m_request, m_nRequestBytes, nullptr, &m_write);
    }

    void ClearErrors() override {
        DWORD errors = 0;
        COMSTAT status{};
        ::ClearCommError(m_hPort, &errors, &status);
    }

    size_t Read(uint8_t* dst, size_t max) override {
        DWORD n = 0;
        ::ResetEvent(m_read.hEvent);
        if (!::ReadFile(m_hPort, dst, static_cast<DWORD>(max), &n, &m_read)) {
            if (::GetLastError() != ERROR_IO_PENDING ||
                !::GetOverlappedResult(m_hPort, &m_read, &n, TRUE)) {
                return 0;
            }
        }
        return n;
    }

private:
    HANDLE m_hPort;
    OVERLAPPED m_write{};
    OVERLAPPED m_read{};
    uint8_t m_request[64] = {};
    DWORD m_nRequestBytes = 0;
};

}  // namespace

std::unique_ptr<CProbePort> OpenSerialProbePort(const std::string& name, bool* busy) {
    const std::string path = "\\\\.\\" + name;  // needed from COM10 on
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr);
    if (busy != nullptr) {
        *busy = h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED;
    }
    if (h == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    if (!::SetupComm(h, 1024, 64)) {
        ::CloseHandle(h);
        return nullptr;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    ::SetCommTimeouts(h, &timeouts);
    ::PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ::GetCommState(h, &dcb);
    dcb.BaudRate = CBR_115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    ::SetCommState(h, &dcb);
    return std::make_unique<CWinProbePort>(h);
}

}  // namespace somatrix

#endif  // _WIN32
