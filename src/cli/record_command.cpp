// somatrix-cli record: what an operator does at the panel, headless. Scan the named port,
// select the sensor, optionally set the gain, Start, receive for the given time through the
// hub's receive path, Stop, wait for the acknowledgement, close port and log. With --reconnect a
// pulled cable does not end the recording: the device is looked for every second on every
// candidate port, by its type and device number, and the measurement goes on where it answers.
#ifdef SOMATRIX_WITH_PLATFORM

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/trace_sink.h"
#include "discovery/device_search.h"
#include "discovery/port_scanner.h"
#include "discovery/system_scan_clock.h"
#include "display/integrity_text.h"
#include "platform/ms_comm.h"
#include "platform/program_folder.h"
#include "platform/system_port_list.h"
#include "protocol/oper_core.h"
#include "recording/edf_recorder.h"

namespace somatrix::cli {

namespace {

struct CRecordOptions {
    std::string m_strPort;
    std::optional<uint8_t> m_sensor;
    long m_nSeconds = 0;
    ELogMode m_nLogMode = kLogNone;
    std::string m_strLogPath;
    std::optional<int> m_gain;
    std::optional<int> m_mode;
    bool m_bTrace = false;
    bool m_bStats = false;
    bool m_bReconnect = false;
    long m_nReconnectTimeout = 60;
    std::string m_strEdf;
    std::vector<std::pair<double, std::string>> m_marks;  // seconds after the recording starts
};

// "SECONDS:TEXT", seconds a number of at least 0.
std::pair<double, std::string> ParseMark(const std::string& text) {
    const size_t colon = text.find(':');
    char* end = nullptr;
    const std::string number = text.substr(0, colon);
    const double seconds = std::strtod(number.c_str(), &end);
    if (colon == std::string::npos || number.empty() || end == nullptr || *end != '\0' ||
        !(seconds >= 0) || seconds > 24 * 3600.0 || colon + 1 >= text.size()) {
        throw CUsageError("--mark needs SECONDS:TEXT, not '" + text + "'");
    }
    return {seconds, text.substr(colon + 1)};
}

CRecordOptions ParseRecordOptions(const std::vector<std::string>& args) {
    CRecordOptions o;
    CArgReader reader(args);
    while (!reader.AtEnd()) {
        const std::string arg = reader.Next();
        if (arg == "--port") {
            o.m_strPort = reader.Value(arg);
        } else if (arg == "--sensor") {
            o.m_sensor = ParseSensorCode(reader.Value(arg));
        } else if (arg == "--seconds") {
            o.m_nSeconds = ParseNumber(arg, reader.Value(arg), 1, 24 * 3600);
        } else if (TakeLogOption(arg, reader, o.m_nLogMode, o.m_strLogPath)) {
            continue;
        } else if (arg == "--gain") {
            o.m_gain = static_cast<int>(ParseNumber(arg, reader.Value(arg), 0, kMaxGain));
        } else if (arg == "--mode") {
            o.m_mode = static_cast<int>(ParseNumber(arg, reader.Value(arg), 0, 1));
        } else if (arg == "--trace") {
            o.m_bTrace = true;
        } else if (arg == "--stats") {
            o.m_bStats = true;
        } else if (arg == "--reconnect") {
            o.m_bReconnect = true;
        } else if (arg == "--reconnect-timeout") {
            o.m_nReconnectTimeout = ParseNumber(arg, reader.Value(arg), 1, 24 * 3600);
        } else if (arg == "--edf") {
            o.m_strEdf = reader.Value(arg);
        } else if (arg == "--mark") {
            o.m_marks.push_back(ParseMark(reader.Value(arg)));
        } else {
            throw CUsageError("unknown argument " + arg);
        }
    }
    if (o.m_strPort.empty() || !o.m_sensor || o.m_nSeconds == 0) {
        throw CUsageError("record needs --port NAME, --sensor TT and --seconds S");
    }
    if (!o.m_marks.empty() && o.m_strEdf.empty()) {
        throw CUsageError("--mark needs --edf FILE");
    }
    return o;
}

// The trace sink, telling the recorder when the measurement flags change and handing the samples
// to the EDF+ recording when there is one.
class CRecordSink : public CTraceSink {
public:
    explicit CRecordSink(bool trace) : CTraceSink(stdout, trace) {}
    void AddSample(int a, int b, int c) override {
        CTraceSink::AddSample(a, b, c);
        if (m_pRecorder != nullptr) {
            m_pRecorder->AddSample(a, b, c);
        }
    }
    void SetValues(int a, int b, int c, int d) override {
        CTraceSink::SetValues(a, b, c, d);
        if (m_pRecorder != nullptr) {
            m_pRecorder->SetValues(a, b, c, d);
        }
    }
    void SetResultValues(int a, int b, int c, int d) override {
        CTraceSink::SetResultValues(a, b, c, d);
        if (m_pRecorder != nullptr) {
            m_pRecorder->SetResultValues(a, b, c, d);
        }
    }
    // A pulled cable: "no data" from the loss to the return.
    void LinkWaitStarted(const std::string& /*lostPort*/) override {
        if (m_pRecorder != nullptr) {
            m_pRecorder->BeginGap();
        }
    }
    void LinkRestored(const std::string& /*port*/) override {
        if (m_pRecorder != nullptr) {
            m_pRecorder->EndGap();
        }
    }
    CEdfRecorder* m_pRecorder = nullptr;
    void FlagsChanged(const CMeasurementFlags& flags) override {
        CTraceSink::FlagsChanged(flags);
        m_bMeasured = m_bMeasured || flags.m_bMeasuring;
        if (flags.m_bMeasuring && m_onMeasuring) {
            m_onMeasuring();
        }
        if (m_onFlags) {
            m_onFlags();
        }
    }
    bool m_bMeasured = false;
    std::function<void()> m_onFlags;
    std::function<void()> m_onMeasuring;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Sits between the link and the hub. Without --reconnect a lost port ends the recording; with
// it the hub waits, and this looks for the device once a second until it answers or the
// timeout has passed. The search blocks the loop for a few probe waits, which nothing else
// needs here.
class CLossWatch : public CSerialLinkListener {
public:
    CLossWatch(COperCore& core, CRecordSink& sink, const CRecordOptions& options)
        : m_core(core), m_options(options) {
        m_ports.SetExtraPorts({options.m_strPort});
        m_retry.setInterval(1000);
        QObject::connect(&m_retry, &QTimer::timeout, [this] { Retry(); });
        sink.m_onMeasuring = [this] { OnMeasuring(); };
    }
    void OnComm(const uint8_t* data, size_t n) override { m_core.OnComm(data, n); }
    void OnLinkLost(const std::string& error) override {
        m_core.OnLinkLost(error);
        if (!m_core.IsWaitingForDevice()) {
            m_bLost = true;
            QCoreApplication::quit();
            return;
        }
        m_lostAt = std::chrono::steady_clock::now();
        std::fprintf(stderr, "somatrix-cli record: link lost on %s (%s), waiting for the device\n",
                     m_core.GetDevicePort().m_strName.c_str(), error.c_str());
        m_retry.start();
    }
    // Still waiting when the recording ends: the device did not come back in time.
    void GiveUp() {
        m_retry.stop();
        if (m_core.IsWaitingForDevice()) {
            m_core.CancelReconnect();
            m_bLost = true;
        }
    }
    bool m_bLost = false;

private:
    void Retry() {
        if (!m_core.IsWaitingForDevice()) {
            m_retry.stop();
            return;
        }
        CDeviceSearch search(m_ports, m_clock, kProbeWaitMs);
        const std::string port = search.Find(m_core.GetAwaitedDevice());
        if (!port.empty() && m_core.OnDeviceFound(port)) {
            m_retry.stop();
            m_bAwaitingData = true;
            return;
        }
        if (SecondsSince(m_lostAt) >= static_cast<double>(m_options.m_nReconnectTimeout)) {
            std::fprintf(stderr, "somatrix-cli record: the device did not come back within %ld s\n",
                         m_options.m_nReconnectTimeout);
            GiveUp();
            QCoreApplication::quit();
        }
    }
    void OnMeasuring() {
        if (!m_bAwaitingData) {
            return;
        }
        m_bAwaitingData = false;
        std::fprintf(stderr,
                     "somatrix-cli record: reconnected on %s, measuring again %.3f s after "
                     "the loss\n",
                     m_core.GetDevicePort().m_strName.c_str(), SecondsSince(m_lostAt));
    }

    COperCore& m_core;
    const CRecordOptions& m_options;
    CSystemPortList m_ports;
    CSystemScanClock m_clock;
    QTimer m_retry;
    std::chrono::steady_clock::time_point m_lostAt;
    bool m_bAwaitingData = false;
};

void PrintStats(const CIntegrityStats& stats) {
    std::printf(
        "stat frames %llu\nstat checksum_errors %llu\nstat skipped_bytes %llu\n"
        "stat dropped_bytes %llu\nstat gaps %llu\n",
        static_cast<unsigned long long>(stats.m_nFrames),
        static_cast<unsigned long long>(stats.m_nChecksumErrors),
        static_cast<unsigned long long>(stats.m_nSkippedBytes),
        static_cast<unsigned long long>(stats.m_nDroppedBytes),
        static_cast<unsigned long long>(stats.m_nGaps));
    std::fflush(stdout);
}

// Runs the event loop until `done` holds or `ms` have passed.
void WaitFor(CRecordSink& sink, int ms, const std::function<bool()>& done) {
    if (done()) {
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    sink.m_onFlags = [&] {
        if (done()) {
            loop.quit();
        }
    };
    loop.exec();
    sink.m_onFlags = nullptr;
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "somatrix-cli record: %s\n", reason.c_str());
    return 1;
}

}  // namespace

int RunRecord(const std::vector<std::string>& args) {
    const CRecordOptions o = ParseRecordOptions(args);
    int argc = 1;
    char name[] = "somatrix-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    CRecordSink sink(o.m_bTrace);
    COperCore core(sink);
    core.Initialise(GetIniPath());
    const int index = core.GetCatalogue().IndexOfType(*o.m_sensor);
    if (index < 0) {
        throw CUsageError("no sensor in the catalogue has type code " +
                          FormatTypeCode(*o.m_sensor));
    }
    CMSComm link;
    core.SetSerialLink(&link);
    core.SetAutoReconnect(o.m_bReconnect);
    CLossWatch watch(core, sink, o);
    link.SetListener(&watch);

#ifndef _WIN32
    // A scan of a missing port finds nothing, which would read like a silent sensor.
    const std::string portPath =
        o.m_strPort.find('/') == std::string::npos ? "/dev/" + o.m_strPort : o.m_strPort;
    std::error_code missing;
    if (!std::filesystem::exists(portPath, missing)) {
        return Fail("port " + o.m_strPort + (portPath != o.m_strPort ? " (" + portPath + ")" : "") +
                    " does not exist");
    }
#endif
    ScanPorts(core, {o.m_strPort}, false);
    if (!core.GetDevicePort().IsKnown()) {
        return Fail("no sensor answered on " + o.m_strPort);
    }
    if (!core.GetCatalogue().At(index).m_bOnline) {
        return Fail("sensor " + FormatTypeCode(*o.m_sensor) + " is not online on " + o.m_strPort);
    }
    core.OnDeviceListSelect(core.ListPositionOf(index));

    if (o.m_nLogMode != kLogNone) {
        std::error_code ignored;
        std::filesystem::remove(o.m_strLogPath, ignored);
        if (!core.StartLogFile(o.m_nLogMode, o.m_strLogPath)) {
            return 1;  // the hub has said why
        }
    }
    if (o.m_gain || o.m_mode) {
        // The gain buttons and the mode list work on an open link, one step a click.
        if (!core.OpenDevicePort(core.GetDevicePort().m_strName)) {
            core.Shutdown();
            return Fail("cannot open " + o.m_strPort);
        }
        while (o.m_gain && core.GetGain() < *o.m_gain) {
            core.OnGainUp();
        }
        while (o.m_gain && core.GetGain() > *o.m_gain) {
            core.OnGainDown();
        }
        if (o.m_mode) {
            core.OnMode(*o.m_mode);
        }
    }
    CSystemRecordingClock clock;
    CEdfRecorder recorder(clock);
    QTimer tick;
    if (!o.m_strEdf.empty()) {
        const _ZP_Device_Info& device = core.GetCatalogue().At(index);
        const CRecordingInfo info{*o.m_sensor, device.m_szShortName, device.m_szDevNum,
                                  device.m_szDate};
        std::string error;
        if (!recorder.Open(o.m_strEdf, info, error)) {
            core.Shutdown();
            return Fail(error);
        }
        sink.m_pRecorder = &recorder;
        QObject::connect(&tick, &QTimer::timeout, [&] { recorder.Tick(); });
        tick.start(200);
        for (const auto& [seconds, text] : o.m_marks) {
            QTimer::singleShot(static_cast<int>(seconds * 1000), &app,
                               [&recorder, seconds = seconds, text = text] {
                                   recorder.AddAnnotationAt(seconds, text);
                               });
        }
    }
    core.OnStart();
    if (!core.GetFlags().m_bStartRequested) {
        core.Shutdown();
        return 1;  // the hub has said why
    }

    QTimer::singleShot(static_cast<int>(o.m_nSeconds * 1000), &app, &QCoreApplication::quit);
    if (!watch.m_bLost) {
        app.exec();
    }
    watch.GiveUp();
    core.OnStop();
    WaitFor(sink, 1000, [&] { return !core.GetFlags().m_bStopRequested; });
    core.Shutdown();
    if (recorder.IsOpen()) {
        sink.m_pRecorder = nullptr;
        recorder.AddAnnotation(IntegritySummary(core.GetIntegrity()));
        std::string error;
        if (!recorder.Close(&error)) {
            return Fail("the recording " + o.m_strEdf + " is incomplete: " + error);
        }
    }
    if (o.m_bStats) {
        PrintStats(core.GetIntegrity());
    }

    if (watch.m_bLost) {
        return 1;  // the hub has told the operator
    }
    if (!sink.m_bMeasured) {
        return Fail("sensor " + FormatTypeCode(*o.m_sensor) + " sent no data");
    }
    if (o.m_nLogMode != kLogNone) {
        std::error_code ignored;
        const std::string where = std::filesystem::absolute(o.m_strLogPath, ignored).string();
        std::printf("wrote %s\n", where.empty() ? o.m_strLogPath.c_str() : where.c_str());
    }
    return 0;
}

}  // namespace somatrix::cli

#endif  // SOMATRIX_WITH_PLATFORM
