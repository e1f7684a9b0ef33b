#pragma once
// A raw pseudo-terminal pair standing in for a serial cable: the code under test opens the
// terminal path, the test plays the device on the master side.
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>
#include <string>
#include <vector>

namespace somatrix::testing {

class CPtyPair {
public:
    CPtyPair() {
        int slave = -1;
        char name[128] = {};
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&m_nMaster, &slave, name, &raw, nullptr) == 0) {
            m_strPath = name;
            ::close(slave);  // the code under test opens its own descriptor by path
        }
    }
    ~CPtyPair() { Unplug(); }
    CPtyPair(const CPtyPair&) = delete;
    CPtyPair& operator=(const CPtyPair&) = delete;

    const std::string& Path() const { return m_strPath; }
    void Send(const std::vector<uint8_t>& bytes) const {
        ssize_t ignored = ::write(m_nMaster, bytes.data(), bytes.size());
        (void)ignored;
    }
    // What the code under test wrote, waiting up to two seconds for `n` bytes.
    std::vector<uint8_t> Receive(size_t n) const {
        std::vector<uint8_t> bytes;
        QElapsedTimer timer;
        timer.start();
        ::fcntl(m_nMaster, F_SETFL, O_NONBLOCK);
        while (bytes.size() < n && timer.elapsed() < 2000) {
            uint8_t buffer[256];
            const ssize_t got = ::read(m_nMaster, buffer, sizeof buffer);
            if (got > 0) {
                bytes.insert(bytes.end(), buffer, buffer + got);
            } else {
                QThread::msleep(5);
            }
        }
        return bytes;
    }
    // The cable is pulled: the terminal side hangs up.
    void Unplug() {
        if (m_nMaster >= 0) {
            ::close(m_nMaster);
            m_nMaster = -1;
        }
    }

private:
    int m_nMaster = -1;
    std::string m_strPath;
};

// Runs the event loop until `done` or about `ms` milliseconds; the caller asserts on the state.
inline void PumpUntil(const std::function<bool()>& done, int ms = 2000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

}  // namespace somatrix::testing
