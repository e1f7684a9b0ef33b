// somatrix-cli export: converts a recording (EDF+ or review file), or a stretch of it, into
// EDF+ or CSV without a window.
#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "review/csv_export.h"
#include "review/edf_save.h"
#include "review/source_load.h"

namespace somatrix::cli {

int RunExport(const std::vector<std::string>& args) {
    CArgReader reader(args);
    std::string input, edf, csv;
    CTimeRange range;
    while (!reader.AtEnd()) {
        const std::string arg = reader.Next();
        if (arg == "--edf") {
            edf = reader.Value(arg);
        } else if (arg == "--csv") {
            csv = reader.Value(arg);
        } else if (range.Take(arg, reader)) {
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw CUsageError("unknown option " + arg);
        } else if (input.empty()) {
            input = arg;
        } else {
            throw CUsageError("export takes one FILE");
        }
    }
    if (input.empty() || edf.empty() == csv.empty()) {
        throw CUsageError("export takes FILE and one of --edf OUT or --csv OUT");
    }
    range.Check();
    CReviewSource source;
    const CSourceLoadOutcome outcome = LoadReviewSource(input, source);
    if (outcome.m_result == ESourceLoad::kRejected) {
        throw CUsageError(input + " is not a review file");
    }
    if (outcome.m_result != ESourceLoad::kLoaded) {
        throw CUsageError(input + ": " + outcome.m_strError);
    }
    const uint32_t first = source.SampleAt(range.m_dFrom);
    const uint32_t last = range.m_to ? source.SampleAt(*range.m_to) : source.SampleCount();
    std::string error;
    const bool ok = edf.empty() ? WriteCsvFile(csv, source, first, last, error)
                                : SaveEdfFile(edf, source, first, last, error);
    if (!ok) {
        throw std::runtime_error(error);
    }
    return 0;
}

}  // namespace somatrix::cli
