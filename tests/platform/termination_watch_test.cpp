// A request to end the program reaches the GUI thread as a call, and the default action (the
// process ending on the spot) is back once the watch is gone.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>

#include "platform/termination_watch.h"

namespace somatrix {
namespace {

int DeliveredAfter(int signal) {
    int calls = 0;
    CTerminationWatch watch([&calls] { ++calls; });
    std::raise(signal);
    EXPECT_EQ(calls, 0);  // never from inside the handler
    QElapsedTimer timer;
    timer.start();
    while (calls == 0 && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return calls;
}

TEST(TerminationWatch, EndRequestsArriveOnTheEventLoop) {
    EXPECT_EQ(DeliveredAfter(SIGTERM), 1);
    EXPECT_EQ(DeliveredAfter(SIGHUP), 1);
    EXPECT_EQ(DeliveredAfter(SIGINT), 1);
    struct sigaction now = {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
}  // namespace somatrix
