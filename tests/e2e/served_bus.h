#pragma once
// Simulated sensors served on a pseudo-terminal from a thread of the test, so the test can run
// the program's real serial code against them and afterwards read what the sensors really sent.
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "protocol/oper_core.h"
#include "pty_server.h"
#include "sim_bus.h"
#include "sim_clock.h"

namespace somatrix::testing {

class CServedBus {
public:
    explicit CServedBus(uint64_t seed = 7) : m_bus(seed) {}
    ~CServedBus() { Stop(); }

    CSimBus& Bus() { return m_bus; }
    // Serves from now on; the pseudo-terminal hangs up when the bus's line dies. With `link`,
    // that path names the terminal too (as a renumbered port would), until the server stops.
    bool Start(const std::string& link = {}) {
        std::string error;
        if (!m_server.Open(error) || (!link.empty() && !m_server.MakeLink(link, error))) {
            return false;
        }
        m_thread = std::thread([this] {
            m_server.Serve(m_bus, m_clock, m_bStop);
            if (m_bus.IsDisconnected()) {
                m_server.Close();
            }
        });
        return true;
    }
    const std::string& Path() const { return m_server.Path(); }
    void Stop() {
        m_bStop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
        m_server.Close();
    }

private:
    CSimBus m_bus;
    CRealClock m_clock;
    CPtyServer m_server;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

inline std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The parsed-log lines of the bus's complete, undamaged data frames of `type`, from the values
// the simulator put into them (one reading per frame).
inline std::string SentReadings(const CSimBus& bus, uint8_t type) {
    std::string lines;
    for (const CSentFrame& sent : bus.SentFrames()) {
        if (sent.m_bComplete && !sent.m_bDamaged && sent.Type() == type &&
            sent.Command() == cmd::kStart && !sent.m_values.empty()) {
            lines += std::to_string(sent.m_values[0]) + ",\n";
        }
    }
    return lines;
}

struct CCliRun {
    int m_nStatus = -1;
    std::string m_strOut;
    std::string m_strErr;
};

// Runs somatrix-cli with `args` (shell words) and collects its output and exit status.
inline CCliRun RunCli(const std::string& args) {
    // Tests may run in parallel processes: one error file each.
    const std::string errPath = "/tmp/somatrix_e2e_stderr_" + std::to_string(::getpid()) + ".txt";
    const std::string command = std::string(SOMATRIX_CLI) + " " + args + " 2>" + errPath;
    CCliRun run;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            run.m_strOut.append(buffer, n);
        }
        const int status = ::pclose(pipe);
        run.m_nStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    run.m_strErr = ReadText(errPath);
    std::remove(errPath.c_str());
    return run;
}

}  // namespace somatrix::testing
