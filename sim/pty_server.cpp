#include "pty_server.h"

#if defined(_WIN32)

namespace somatrix {

CPtyServer::~CPtyServer() = default;
bool CPtyServer::Open(std::string& error) {
    error = "pseudo-terminals are not available here; use a virtual null-modem port pair";
    return false;
}
bool CPtyServer::MakeLink(const std::string&, std::string& error) {
    error = "not supported";
    return false;
}
void CPtyServer::Close() {}
void CPtyServer::Serve(CSimBus&, CSimClock&, const std::atomic<bool>&) {}

}  // namespace somatrix

#else

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>
#if defined(__APPLE__)
#include <util.h>
#else
#include <pty.h>
#endif

namespace somatrix {

CPtyServer::~CPtyServer() {
    Close();
}

bool CPtyServer::Open(std::string& error) {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    // Raw 8N1 at 115200 so that programs which do not set the line up still see bytes unchanged.
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    tcsetattr(slave, TCSANOW, &tio);
    // Not keeping the slave open lets the master see when no program has the port open.
    close(slave);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    // A program started from this process (a test running the recorder) must not inherit the
    // master: as long as any process holds it, closing ours would not hang the terminal up.
    fcntl(master, F_SETFD, fcntl(master, F_GETFD) | FD_CLOEXEC);
    m_nMaster = master;
    m_strPath = name;
    return true;
}

bool CPtyServer::MakeLink(const std::string& linkPath, std::string& error) {
    unlink(linkPath.c_str());
    if (symlink(m_strPath.c_str(), linkPath.c_str()) != 0) {
        error = "symlink " + linkPath + ": " + std::strerror(errno);
        return false;
    }
    m_strLink = linkPath;
    return true;
}

void CPtyServer::Close() {
    if (!m_strLink.empty()) {
        unlink(m_strLink.c_str());
        m_strLink.clear();
    }
    if (m_nMaster >= 0) {
        close(m_nMaster);
        m_nMaster = -1;
    }
}

void CPtyServer::Serve(CSimBus& bus, CSimClock& clock, const std::atomic<bool>& stop) {
    uint8_t buffer[512];
    while (!stop.load() && m_nMaster >= 0) {
        pollfd pfd{m_nMaster, POLLIN, 0};
        poll(&pfd, 1, 2);
        bus.AdvanceTo(clock.NowNs());
        if (bus.IsDisconnected()) {
            return;
        }
        bool bConnected = (pfd.revents & POLLHUP) == 0;
        if (pfd.revents & POLLIN) {
            const ssize_t n = read(m_nMaster, buffer, sizeof buffer);
            if (n > 0) {
                bus.Write(buffer, static_cast<size_t>(n));
                m_stats.m_nBytesIn += static_cast<uint64_t>(n);
            } else if (n < 0 && errno == EIO) {
                bConnected = false;
            }
        }
        if (!bConnected) {
            // Nobody listening: the line's bytes fall on the floor. Sleep rather than spin, since
            // poll reports the hang-up at once.
            const size_t waiting = bus.Available();
            bus.Purge();
            m_stats.m_nDropped += waiting;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        for (;;) {
            const size_t n = bus.Read(buffer, sizeof buffer);
            if (n == 0) {
                break;
            }
            const ssize_t w = write(m_nMaster, buffer, n);
            const size_t written = w > 0 ? static_cast<size_t>(w) : 0;
            m_stats.m_nBytesOut += written;
            // A full terminal buffer is a receiver that does not keep up: an overrun.
            m_stats.m_nDropped += n - written;
        }
    }
}

}  // namespace somatrix

#endif
