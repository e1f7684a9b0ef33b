// somatrix-cli replay: feeds a raw log (or a binary capture) through the receive path exactly as
// receive events of the serial link, and writes the parsed or raw log the program would have
// written, or traces what the program would have shown.
#include <cstdio>
#include <filesystem>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/trace_sink.h"
#include "discovery/raw_log_reader.h"
#include "protocol/oper_core.h"

namespace somatrix::cli {

namespace {

struct CReplayOptions {
    std::string m_strInput;
    std::optional<uint8_t> m_select;
    bool m_bExtremes = false;
    ELogMode m_nLogMode = kLogNone;
    std::string m_strLogPath;
    bool m_bTrace = false;
    bool m_bBinary = false;
    size_t m_nChunk = 64;
};

CReplayOptions ParseReplayOptions(const std::vector<std::string>& args) {
    CReplayOptions o;
    CArgReader reader(args);
    bool chunkGiven = false;
    while (!reader.AtEnd()) {
        const std::string arg = reader.Next();
        if (arg == "--select") {
            o.m_select = ParseSensorCode(reader.Value(arg));
        } else if (arg == "--extremes") {
            o.m_bExtremes = true;
        } else if (TakeLogOption(arg, reader, o.m_nLogMode, o.m_strLogPath)) {
            continue;
        } else if (arg == "--trace") {
            o.m_bTrace = true;
        } else if (arg == "--binary") {
            o.m_bBinary = true;
        } else if (arg == "--chunk") {
            o.m_nChunk = static_cast<size_t>(ParseNumber(arg, reader.Value(arg), 1, 1 << 20));
            chunkGiven = true;
        } else if (!arg.empty() && arg[0] == '-') {
            throw CUsageError("unknown option " + arg);
        } else if (o.m_strInput.empty()) {
            o.m_strInput = arg;
        } else {
            throw CUsageError("more than one input: " + arg);
        }
    }
    if (o.m_strInput.empty()) {
        throw CUsageError("replay needs an INPUT file");
    }
    if (chunkGiven && !o.m_bBinary) {
        throw CUsageError("--chunk goes with --binary");
    }
    return o;
}

std::vector<CReceiveEvent> ReadEvents(const CReplayOptions& o) {
    const std::string content = ReadWholeFile(o.m_strInput);
    if (o.m_bBinary) {
        return SplitCapture(content, o.m_nChunk);
    }
    std::vector<CReceiveEvent> events;
    std::string error;
    if (!ParseRawLog(content, events, error)) {
        throw CUsageError(o.m_strInput + ": " + error);
    }
    return events;
}

}  // namespace

int RunReplay(const std::vector<std::string>& args) {
    const CReplayOptions o = ParseReplayOptions(args);
    // Everything is read and checked before anything is written.
    const std::vector<CReceiveEvent> events = ReadEvents(o);

    CTraceSink sink(stdout, o.m_bTrace);
    COperCore core(sink);
    core.Initialise({});
    if (o.m_select) {
        const int index = core.GetCatalogue().IndexOfType(*o.m_select);
        if (index < 0) {
            throw CUsageError("no sensor in the catalogue has type code " +
                              FormatTypeCode(*o.m_select));
        }
        core.SelectDevice(index);
    }
    if (o.m_bExtremes) {
        core.OnMaxMin(true);
    }

    // The log is written beside its destination and renamed into place once complete, so an
    // existing file is never left half-replaced.
    const std::string partial = o.m_strLogPath + ".part";
    if (o.m_nLogMode != kLogNone) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        if (!core.StartLogFile(o.m_nLogMode, partial)) {
            throw CUsageError("cannot write " + o.m_strLogPath + ": " + core.GetLog().GetError());
        }
    }
    for (const CReceiveEvent& event : events) {
        core.OnComm(event.data(), event.size());
    }
    if (o.m_nLogMode != kLogNone) {
        core.StopLog();
        std::error_code error;
        std::filesystem::rename(partial, o.m_strLogPath, error);
        if (error) {
            std::filesystem::remove(partial, error);
            throw CUsageError("cannot write " + o.m_strLogPath + ": " + error.message());
        }
    }
    std::fflush(stdout);
    if (core.GetDroppedBytes() > 0) {
        std::fprintf(stderr, "somatrix-cli replay: %llu received bytes dropped\n",
                     static_cast<unsigned long long>(core.GetDroppedBytes()));
    }
    return 0;
}

}  // namespace somatrix::cli
