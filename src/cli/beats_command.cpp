// somatrix-cli beats: the beats of a recording (review file or EDF+) with the heart rate and its
// variability, without a window. A review file's signal is taken as ECG; EDF+ signals say what
// they are by their labels; "R" annotations, where a recording has them, are its beats.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "analysis/rhythm.h"
#include "analysis/source_beats.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "review/source_load.h"

namespace somatrix::cli {

namespace {

void PrintFigure(const char* name, double value) {
    if (std::isnan(value)) {
        std::printf("%s nan\n", name);
    } else {
        std::printf("%s %.1f\n", name, value);
    }
}

}  // namespace

int RunBeats(const std::vector<std::string>& args) {
    CArgReader reader(args);
    std::string input;
    long signal = 0;
    CTimeRange range;
    while (!reader.AtEnd()) {
        const std::string arg = reader.Next();
        if (arg == "--signal") {
            signal = ParseNumber(arg, reader.Value(arg), 0, 1023);
        } else if (range.Take(arg, reader)) {
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw CUsageError("unknown option " + arg);
        } else if (input.empty()) {
            input = arg;
        } else {
            throw CUsageError("beats takes one FILE");
        }
    }
    if (input.empty()) {
        throw CUsageError("beats takes a FILE (review file or EDF+)");
    }
    range.Check();
    CReviewSource source;
    const CSourceLoadOutcome outcome = LoadReviewSource(input, source);
    if (outcome.m_result == ESourceLoad::kRejected) {
        throw CUsageError(input + " is not a review file");
    }
    if (outcome.m_result != ESourceLoad::kLoaded) {
        throw CUsageError(
            input + ": " +
            (outcome.m_strError.empty() ? std::string("cannot be read") : outcome.m_strError));
    }
    const auto k = static_cast<size_t>(signal);
    if (k >= source.SignalCount()) {
        throw CUsageError("--signal " + std::to_string(signal) + ": the recording has " +
                          std::to_string(source.SignalCount()) + " signal(s), numbered from 0");
    }
    source.SelectSignal(k);
    if (!BeatSourceOf(source, k)) {
        throw CUsageError("signal " + std::to_string(signal) + " (" + source.SignalLabel(k) +
                          ") is neither an ECG nor a pulse wave");
    }
    std::vector<double> beats;
    for (double t : SourceBeats(source)) {
        if (t >= range.m_dFrom && t < range.m_to.value_or(INFINITY)) {
            beats.push_back(t);
        }
    }
    for (double t : beats) {
        std::printf("beat %.3f\n", t);
    }
    const CRhythmStats stats = ComputeRhythm(beats);
    std::printf("beats %zu\n", stats.m_nBeats);
    PrintFigure("hr_mean", stats.m_dHrMean);
    PrintFigure("hr_min", stats.m_dHrMin);
    PrintFigure("hr_max", stats.m_dHrMax);
    PrintFigure("sdnn_ms", stats.m_dSdnnMs);
    PrintFigure("rmssd_ms", stats.m_dRmssdMs);
    return 0;
}

}  // namespace somatrix::cli
