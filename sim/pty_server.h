#pragma once
// Serves a simulated bus on a pseudo-terminal in real time, so that any serial program (the
// Somatrix program itself, a terminal, an end-to-end test) can open it like a sensor's port.
// POSIX only; on Windows a virtual null-modem pair is the equivalent and Open() says so.
#include <atomic>
#include <cstdint>
#include <string>

#include "sim_bus.h"
#include "sim_clock.h"

namespace somatrix {

struct CPtyStats {
    uint64_t m_nBytesIn = 0;   // request bytes read from the terminal
    uint64_t m_nBytesOut = 0;  // line bytes handed to the terminal
    uint64_t m_nDropped = 0;   // line bytes lost: nobody had the port open, or it was full
};

class CPtyServer {
public:
    CPtyServer() = default;
    ~CPtyServer();
    CPtyServer(const CPtyServer&) = delete;
    CPtyServer& operator=(const CPtyServer&) = delete;

    // Creates the pseudo-terminal in raw mode; false with a reason.
    bool Open(std::string& error);
    // The path a serial program opens, for example /dev/pts/3.
    const std::string& Path() const { return m_strPath; }
    // A symbolic link at `linkPath` to Path(), replacing an old link there; removed on close.
    bool MakeLink(const std::string& linkPath, std::string& error);
    void Close();

    // Moves bytes both ways until `stop` is set or the bus's line dies. While no program has the
    // terminal open the line's bytes are discarded, as on an unconnected cable.
    void Serve(CSimBus& bus, CSimClock& clock, const std::atomic<bool>& stop);
    const CPtyStats& Stats() const { return m_stats; }

private:
    int m_nMaster = -1;
    std::string m_strPath;
    std::string m_strLink;
    CPtyStats m_stats;
};

}  // namespace somatrix
