// The POSIX probe port. The original waits a fixed time and then takes whatever the driver has
// queued; a non-blocking descriptor with VMIN = VTIME = 0 gives exactly that read.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "platform/serial_probe_port.h"

namespace somatrix {

namespace {

class CTermiosProbePort : public CProbePort {
public:
    explicit CTermiosProbePort(int fd) : m_nFd(fd) {}
    ~CTermiosProbePort() override { ::close(m_nFd); }
    CTermiosProbePort(const CTermiosProbePort&) = delete;
    CTermiosProbePort& operator=(const CTermiosProbePort&) = delete;

    void Purge() override { ::tcflush(m_nFd, TCIOFLUSH); }

    void Write(const uint8_t* data, size_t n) override {
        // A probe request is five bytes; a full output queue just loses it, like a dead line.
        while (n > 0) {
            const ssize_t written = ::write(m_nFd, data, n);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                return;
            }
            data += written;
            n -= static_cast<size_t>(written);
        }
    }

    // Line errors arrive inline with the data on POSIX systems; there is no state to clear.
    void ClearErrors() override {}

    size_t Read(uint8_t* dst, size_t max) override {
        ssize_t n;
        do {
            n = ::read(m_nFd, dst, max);
        } while (n < 0 && errno == EINTR);
        return n > 0 ? static_cast<size_t>(n) : 0;
    }

private:
    int m_nFd;
};

}  // namespace

bool LockPort(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

std::unique_ptr<CProbePort> OpenSerialProbePort(const std::string& name, bool* busy) {
    bool ignored = false;
    bool& held = busy != nullptr ? *busy : ignored;
    held = false;
    const std::string path = name.find('/') == std::string::npos ? "/dev/" + name : name;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        held = errno == EBUSY;  // another program opened it exclusively
        return nullptr;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        ::close(fd);  // not a terminal
        return nullptr;
    }
    // The exclusive mode keeps other users out but not the superuser; the lock that every
    // Somatrix takes on its ports tells even then that another program has this one.
    if (!LockPort(fd)) {
        held = true;
        ::close(fd);
        return nullptr;
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return nullptr;
    }
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B115200);
    ::cfsetospeed(&tio, B115200);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);  // like the original, a refused setting is not fatal
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIS, &lines);  // pseudo-terminals have no modem lines
    ::tcflush(fd, TCIOFLUSH);
    return std::make_unique<CTermiosProbePort>(fd);
}

}  // namespace somatrix

#endif  // !_WIN32
