// somatrix-cli review: the review file's loader, times, cut and save without a window, for
// scripted checks and batch work.
#include <bit>
#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/review_sha256.h"
#include "review/edf_load.h"
#include "review/review_file.h"
#include "review/source_load.h"

namespace somatrix::cli {
namespace {

constexpr long kMaxIndex = 0xFFFFFFFFL;

// Loads `path` as the Open command does. Files that cannot be read, or are too large, end the
// command with a message; a file the loader ignores gives false.
bool LoadOrThrow(const std::string& path, CReviewRecording& recording) {
    const CLoadOutcome outcome = LoadWaveFile(path, recording);
    if (outcome.m_result == ELoadResult::kUnreadable ||
        outcome.m_result == ELoadResult::kTooLarge) {
        throw CUsageError(outcome.m_strError);
    }
    return outcome.m_result == ELoadResult::kLoaded;
}

std::string SamplesSha256(const CReviewRecording& recording) {
    CSha256 hash;
    const uint16_t* samples = recording.Samples();
    uint8_t chunk[4096];
    for (uint32_t done = 0; done < recording.SampleCount();) {
        const uint32_t n = std::min<uint32_t>(recording.SampleCount() - done, sizeof chunk / 2);
        for (uint32_t i = 0; i < n; ++i) {
            chunk[2 * i] = static_cast<uint8_t>(samples[done + i]);
            chunk[2 * i + 1] = static_cast<uint8_t>(samples[done + i] >> 8);
        }
        hash.Update(chunk, 2 * size_t{n});
        done += n;
    }
    return hash.HexDigest();
}

void PrintStart(int64_t seconds) {
    const auto when = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&when, &local) != nullptr) {
        std::printf("start %04d-%02d-%02d %02d:%02d:%02d\n", local.tm_year + 1900, local.tm_mon + 1,
                    local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    }
}

int RunEdfInfo(const std::string& path) {
    CReviewSource source;
    const CSourceLoadOutcome outcome = LoadReviewSource(path, source);
    if (outcome.m_result != ESourceLoad::kLoaded) {
        throw CUsageError(path + ": " + outcome.m_strError);
    }
    if (outcome.m_bRepaired) {
        std::puts("repaired");
    }
    std::printf("format edf+\nrate %u\nsamples %u\n", source.SampleRate(), source.SampleCount());
    PrintStart(source.StartSeconds());
    for (size_t k = 0; k < source.SignalCount(); ++k) {
        const CSourceSignal& signal = source.Signals()[k];
        std::printf("signal %zu %s %u %zu\n", k, signal.m_strLabel.c_str(), signal.m_nRate,
                    signal.m_samples.size());
    }
    for (const CAnnotation& a : source.Annotations()) {
        std::printf("annotation %.3f %s\n", a.m_fOnset, a.m_strText.c_str());
    }
    return 0;
}

int RunInfo(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        throw CUsageError("info takes one FILE");
    }
    if (IsEdfPath(args[0])) {
        return RunEdfInfo(args[0]);
    }
    CReviewRecording recording;
    if (!LoadOrThrow(args[0], recording)) {
        std::puts("rejected");
        return 0;
    }
    std::printf("format review\nrate %u\n", recording.SampleRate());
    std::printf("samples %u\nsegments %u\n", recording.SampleCount(), recording.SegmentCount());
    for (uint32_t k = 0; k < recording.SegmentCount(); ++k) {
        std::printf("segment %u %u\n", recording.SegmentStart()[k], recording.SegmentTime()[k]);
    }
    std::printf("sha256 %s\n", SamplesSha256(recording).c_str());
    return 0;
}

int RunTime(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        throw CUsageError("time takes a FILE and at least one INDEX");
    }
    std::vector<uint32_t> indices;
    for (size_t i = 1; i < args.size(); ++i) {
        indices.push_back(static_cast<uint32_t>(ParseNumber("INDEX", args[i], 0, kMaxIndex)));
    }
    CReviewRecording recording;
    LoadOrThrow(args[0], recording);
    std::string text;
    for (const uint32_t index : indices) {
        recording.FormatSampleTime(index, &text);
        std::puts(text.c_str());
    }
    return 0;
}

int RunCut(const std::vector<std::string>& args) {
    CArgReader reader(args);
    std::vector<std::string> positional;
    std::string out;
    while (!reader.AtEnd()) {
        const std::string arg = reader.Next();
        if (arg == "-o") {
            out = reader.Value(arg);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw CUsageError("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3 || out.empty()) {
        throw CUsageError("cut takes FILE START END -o OUT");
    }
    const auto start = static_cast<uint32_t>(ParseNumber("START", positional[1], 0, kMaxIndex));
    const auto end = static_cast<uint32_t>(ParseNumber("END", positional[2], 0, kMaxIndex));
    CReviewRecording recording;
    if (!LoadOrThrow(positional[0], recording)) {
        throw CUsageError(positional[0] + " is not a review file");
    }
    if (start > end || end > recording.SampleCount()) {
        throw CUsageError("START and END must satisfy 0 <= START <= END <= " +
                          std::to_string(recording.SampleCount()) + " (the sample count)");
    }
    recording.CutSamples(start, end);
    std::string error;
    if (!SaveWaveFile(out, recording, error)) {
        throw std::runtime_error("cannot write " + out + ": " + error);
    }
    return 0;
}

}  // namespace

int RunReview(const std::vector<std::string>& args) {
    if (args.empty()) {
        throw CUsageError("review needs info, time or cut");
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "info") {
        return RunInfo(rest);
    }
    if (args[0] == "time") {
        return RunTime(rest);
    }
    if (args[0] == "cut") {
        return RunCut(rest);
    }
    throw CUsageError("unknown review command '" + args[0] + "' (info, time or cut)");
}

}  // namespace somatrix::cli
