#include "platform/termination_watch.h"

#include <QSocketNotifier>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#endif

namespace somatrix {

#ifndef _WIN32
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
// The handler may only write to a descriptor; the notifier reads it on the GUI thread.
int g_pipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}

}  // namespace
#endif

CTerminationWatch::CTerminationWatch(std::function<void()> onRequest, QObject* parent)
    : QObject(parent), m_onRequest(std::move(onRequest)) {
#ifndef _WIN32
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;  // the signals keep their default action
    }
    ::fcntl(g_pipe[0], F_SETFL, O_NONBLOCK);
    m_pNotifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CTerminationWatch::Deliver);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
#endif
}

CTerminationWatch::~CTerminationWatch() {
#ifndef _WIN32
    if (m_pNotifier == nullptr) {
        return;
    }
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    delete m_pNotifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
#endif
}

void CTerminationWatch::Deliver() {
#ifndef _WIN32
    char bytes[16];
    while (::read(g_pipe[1], bytes, sizeof bytes) == static_cast<ssize_t>(sizeof bytes)) {
    }
#endif
    if (m_onRequest) {
        m_onRequest();
    }
}

}  // namespace somatrix
