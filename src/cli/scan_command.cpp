// somatrix-cli scan: the scan button without a window. Prints the status line as the panel
// shows it, the device port and every catalogue record as the scan left it.
#ifdef SOMATRIX_WITH_PLATFORM

#include <cstdio>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/trace_sink.h"
#include "discovery/system_scan_clock.h"
#include "platform/program_folder.h"
#include "platform/scan_log.h"
#include "platform/system_port_list.h"
#include "protocol/oper_core.h"

namespace somatrix::cli {

namespace {

// Keeps the last status text; everything else of the panel is not shown.
class CStatusSink : public CTraceSink {
public:
    CStatusSink() : CTraceSink(stdout, false) {}
    void SetStatusText(const std::string& text) override { m_strStatus = text; }
    std::string m_strStatus;
};

const char* OrDash(const char* text) {
    return text[0] ? text : "-";
}

}  // namespace

void ScanPorts(COperCore& core, const std::vector<std::string>& ports, bool slow) {
    CSystemPortList list(ports);
    CSystemScanClock clock;
    core.SetSlowScan(slow);
    core.Scan(list, clock, ScanTraceToLog());
}

int RunScan(const std::vector<std::string>& args) {
    std::vector<std::string> ports;
    bool slow = false;
    CArgReader reader(args);
    while (!reader.AtEnd()) {
        const std::string arg = reader.Next();
        if (arg == "--port") {
            ports.push_back(reader.Value(arg));
        } else if (arg == "--slow") {
            slow = true;
        } else {
            throw CUsageError("unknown argument " + arg);
        }
    }

    CStatusSink sink;
    COperCore core(sink);
    core.Initialise(GetIniPath());
    ScanPorts(core, ports, slow);

    const CDevicePort& port = core.GetDevicePort();
    std::printf("status %s\n", sink.m_strStatus.c_str());
    if (port.IsKnown()) {
        std::printf("port %s\n", port.m_strName.c_str());
    } else {
        std::printf("port %d\n", port.m_nPort);
    }
    const CCatalogue& catalogue = core.GetCatalogue();
    for (int i = 0; i < static_cast<int>(catalogue.GetCount()); ++i) {
        const _ZP_Device_Info& info = catalogue.At(i);
        // The display name last: it may hold blanks.
        std::printf("record %d %02X %d %s %s %s\n", i, info.m_nType, info.m_bOnline ? 1 : 0,
                    OrDash(info.m_szDevNum), OrDash(info.m_szDate), info.m_szName);
    }
    std::fflush(stdout);
    return port.IsKnown() ? 0 : 1;
}

}  // namespace somatrix::cli

#endif  // SOMATRIX_WITH_PLATFORM
