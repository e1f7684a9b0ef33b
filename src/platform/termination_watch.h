#pragma once
// Turns the system's requests to end the program (SIGTERM, SIGHUP, SIGINT on Linux) into a call
// on the GUI thread, so the program can close its windows the ordinary way: an open log and a
// waveform recording are then closed whole instead of being cut off where the process stopped.
// One watch at a time; made and used on the GUI thread. Does nothing on Windows.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace somatrix {

class CTerminationWatch : public QObject {
public:
    explicit CTerminationWatch(std::function<void()> onRequest, QObject* parent = nullptr);
    ~CTerminationWatch() override;

private:
    void Deliver();

    std::function<void()> m_onRequest;
    QSocketNotifier* m_pNotifier = nullptr;
};

}  // namespace somatrix
