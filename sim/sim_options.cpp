#include "sim_options.h"

#include <charconv>
#include <cstdio>
#include <sstream>

#include "protocol/catalogue.h"

namespace somatrix {

namespace {

constexpr uint64_t kDefaultSlowMs = 300;  // misses the 150 ms probe wait, answers within 600 ms

bool ParseUnsigned(const std::string& text, uint64_t& value, int base = 10) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool ParseChance(const std::string& text, double& value) {
    std::istringstream in(text);
    in >> value;
    return in && in.eof() && value >= 0.0 && value <= 1.0;
}

bool ParseAmplitude(const std::string& text, double& value, double most) {
    std::istringstream in(text);
    in >> value;
    return in && in.eof() && value >= 0.0 && value <= most;
}

bool ParseType(const std::string& text, uint8_t& type) {
    uint64_t v = 0;
    std::string hex = text;
    if (hex.rfind("0x", 0) == 0 || hex.rfind("0X", 0) == 0) {
        hex = hex.substr(2);
    }
    if (!ParseUnsigned(hex, v, 16) || v > 0xFF) {
        return false;
    }
    for (uint8_t t : AllSensorTypes()) {
        if (t == v) {
            type = t;
            return true;
        }
    }
    return false;
}

// "TT=VALUE" or "TT:VALUE".
bool SplitTypeValue(const std::string& text, char sep, uint8_t& type, std::string& value) {
    const size_t at = text.find(sep);
    if (at == std::string::npos) {
        return false;
    }
    value = text.substr(at + 1);
    return ParseType(text.substr(0, at), type);
}

bool ParseDate(const std::string& text, CSensorConfig& config) {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d%c", &y, &m, &d, &tail) != 3) {
        return false;
    }
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) {
        return false;
    }
    config.m_nYear = y;
    config.m_nMonth = m;
    config.m_nDay = d;
    return true;
}

}  // namespace

std::string SimUsage() {
    return std::string(
               R"(usage: somatrix-sim [options]          serve simulated sensors on a pseudo-terminal
       somatrix-sim --write-review FILE --minutes N [--segments K] [--seed N] [--start T]

Sensors (type codes in hexadecimal, as in the catalogue):
  --sensors LIST          comma-separated type codes, or "all" (default: all fourteen)
  --seed N                the simulated subject and the fault pattern (default 1)
  --latency MS            reply latency of every sensor (default 3)
  --slow TT[:MS]          sensor TT answers after MS ms (default 300: needs the slow scan)
  --silent TT             sensor TT never answers
  --device TT=XXXXXXXX    device number of sensor TT, eight hexadecimal digits
  --date TT=YYYY-MM-DD    production date of sensor TT
Faults (chances per frame, 0 to 1):
  --stray P               one to three stray bytes before a frame
  --bit-errors P          one flipped bit in a frame
  --drop P                one byte of a frame lost
  --garbage MS[:N]        a burst of N random bytes (default 24) every MS ms
  --disconnect-after MS   the line goes dead after MS ms
Subject (ECG amplitudes in mV; the pulse waves take them as a share of their height):
  --noise MV              broadband noise
  --wander MV             baseline wander
  --hum MV                50 Hz mains hum (ECG)
  --motion MV             electrode motion artefacts
  --ectopic P             chance of a premature ventricular beat, 0 to 0.3
  --exercise T:BPM        from T seconds on the heart beats BPM times a minute
Faults of data frames, each counted exactly by the receiver (chances per data frame):
  --corrupt P             a wrong checksum byte
  --junk P                one to three bytes other than 0xFF before the frame
  --lose P                the whole frame lost (never two in a row)
  --stall P[:MS]          the line stalls MS ms (default 500) before the frame
Serving:
  --link PATH             also make PATH a symbolic link to the pseudo-terminal
Review file:
  --write-review FILE     write a review file of a simulated EEG and exit
  --minutes N             its length in minutes
  --segments K            cut into K time-stamped segments (default 1)
  --start T               time stamp of the first segment, seconds since 1970 (default now)
  --signal eeg|ecg        what the review file holds (default eeg)
  --write-beats FILE      with --signal ecg: also write the true R peaks, seconds, one a line

Sensor type codes:
)") + SensorCodeList();
}

bool ParseSimOptions(int argc, const char* const* argv, CSimOptions& options, std::string& error) {
    options.m_types = AllSensorTypes();
    bool bMinutes = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            options.m_bHelp = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value after " + arg;
            return false;
        }
        const std::string value = argv[++i];
        uint64_t n = 0;
        uint8_t type = 0;
        std::string rest;
        bool ok = true;
        if (arg == "--sensors") {
            options.m_types.clear();
            if (value == "all") {
                options.m_types = AllSensorTypes();
            } else {
                std::istringstream list(value);
                std::string item;
                while (ok && std::getline(list, item, ',')) {
                    ok = ParseType(item, type);
                    options.m_types.push_back(type);
                }
            }
        } else if (arg == "--seed") {
            ok = ParseUnsigned(value, options.m_nSeed);
        } else if (arg == "--latency") {
            ok = ParseUnsigned(value, options.m_nLatencyMs);
        } else if (arg == "--slow") {
            uint64_t ms = kDefaultSlowMs;
            if (value.find(':') != std::string::npos) {
                ok = SplitTypeValue(value, ':', type, rest) && ParseUnsigned(rest, ms);
            } else {
                ok = ParseType(value, type);
            }
            options.m_slowMs[type] = ms;
        } else if (arg == "--silent") {
            ok = ParseType(value, type);
            options.m_perSensor[type].m_bSilent = true;
        } else if (arg == "--device") {
            ok = SplitTypeValue(value, '=', type, rest) && rest.size() == 8 &&
                 ParseUnsigned(rest, n, 16);
            options.m_perSensor[type].m_nDeviceNumber = static_cast<uint32_t>(n);
        } else if (arg == "--date") {
            ok = SplitTypeValue(value, '=', type, rest) &&
                 ParseDate(rest, options.m_perSensor[type]);
        } else if (arg == "--stray") {
            ok = ParseChance(value, options.m_faults.m_fStrayChance);
        } else if (arg == "--bit-errors") {
            ok = ParseChance(value, options.m_faults.m_fBitErrorChance);
        } else if (arg == "--drop") {
            ok = ParseChance(value, options.m_faults.m_fDropChance);
        } else if (arg == "--garbage") {
            uint64_t count = 24;
            const size_t at = value.find(':');
            ok = ParseUnsigned(value.substr(0, at), n) && n > 0 &&
                 (at == std::string::npos || ParseUnsigned(value.substr(at + 1), count));
            options.m_faults.m_nGarbageEveryNs = n * kNsPerMs;
            options.m_faults.m_nGarbageBytes = static_cast<int>(std::min<uint64_t>(count, 4096));
        } else if (arg == "--corrupt") {
            ok = ParseChance(value, options.m_faults.m_fCorruptChance);
        } else if (arg == "--junk") {
            ok = ParseChance(value, options.m_faults.m_fJunkChance);
        } else if (arg == "--lose") {
            ok = ParseChance(value, options.m_faults.m_fLoseChance);
        } else if (arg == "--stall") {
            const size_t at = value.find(':');
            ok = ParseChance(value.substr(0, at), options.m_faults.m_fStallChance);
            if (ok && at != std::string::npos) {
                ok = ParseUnsigned(value.substr(at + 1), n) && n > 0 && n <= 60000;
                options.m_faults.m_nStallNs = n * kNsPerMs;
            }
        } else if (arg == "--disconnect-after") {
            ok = ParseUnsigned(value, n) && n > 0;
            options.m_faults.m_nDisconnectAfterNs = n * kNsPerMs;
        } else if (arg == "--noise") {
            ok = ParseAmplitude(value, options.m_conditions.m_fNoiseMv, 5.0);
        } else if (arg == "--wander") {
            ok = ParseAmplitude(value, options.m_conditions.m_fWanderMv, 5.0);
        } else if (arg == "--hum") {
            ok = ParseAmplitude(value, options.m_conditions.m_fHumMv, 5.0);
        } else if (arg == "--motion") {
            ok = ParseAmplitude(value, options.m_conditions.m_fMotionMv, 5.0);
        } else if (arg == "--ectopic") {
            ok = ParseAmplitude(value, options.m_conditions.m_fEctopicChance, 0.3);
        } else if (arg == "--exercise") {
            const size_t at = value.find(':');
            uint64_t bpm = 0;
            ok = at != std::string::npos && ParseUnsigned(value.substr(0, at), n) &&
                 ParseUnsigned(value.substr(at + 1), bpm) && bpm >= 30 && bpm <= 220;
            options.m_conditions.m_fStepAtSec = static_cast<double>(n);
            options.m_conditions.m_fStepBpm = static_cast<double>(bpm);
        } else if (arg == "--signal") {
            ok = value == "eeg" || value == "ecg";
            options.m_review.m_bEcg = value == "ecg";
        } else if (arg == "--write-beats") {
            options.m_strBeatsFile = value;
        } else if (arg == "--link") {
            options.m_strLink = value;
        } else if (arg == "--write-review") {
            options.m_strReviewFile = value;
        } else if (arg == "--minutes") {
            ok = ParseUnsigned(value, n) && n > 0 && n <= 24 * 60;
            options.m_review.m_nMinutes = static_cast<int>(n);
            bMinutes = true;
        } else if (arg == "--segments") {
            ok = ParseUnsigned(value, n) && n > 0 && n <= 1000;
            options.m_review.m_nSegments = static_cast<int>(n);
        } else if (arg == "--start") {
            ok = ParseUnsigned(value, n) && n <= 0xFFFFFFFFull;
            options.m_review.m_nStartTime = static_cast<uint32_t>(n);
        } else {
            error = "unknown option " + arg;
            return false;
        }
        if (!ok) {
            error = "bad value for " + arg + ": " + value;
            if (arg == "--sensors" || arg == "--slow" || arg == "--silent" || arg == "--device" ||
                arg == "--date") {
                error += "\nvalid sensor type codes:\n" + SensorCodeList();
            }
            return false;
        }
    }
    if (!options.m_strReviewFile.empty() && !bMinutes) {
        error = "--write-review needs --minutes";
        return false;
    }
    if (!options.m_strBeatsFile.empty() && !options.m_review.m_bEcg) {
        error = "--write-beats needs --write-review with --signal ecg";
        return false;
    }
    options.m_review.m_nSeed = options.m_nSeed;
    options.m_review.m_conditions = options.m_conditions;
    return true;
}

bool WriteBeatTimes(const std::string& path, const std::vector<double>& beats, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        error = "cannot create " + path;
        return false;
    }
    bool ok = true;
    for (double t : beats) {
        ok = ok && std::fprintf(file, "%.3f\n", t) > 0;
    }
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        error = "cannot write " + path;
    }
    return ok;
}

std::unique_ptr<CSimBus> BuildSimBus(const CSimOptions& options) {
    auto bus = std::make_unique<CSimBus>(options.m_nSeed);
    for (uint8_t type : options.m_types) {
        CSensorConfig config;
        if (auto it = options.m_perSensor.find(type); it != options.m_perSensor.end()) {
            config = it->second;
        }
        config.m_nLatencyNs = options.m_nLatencyMs * kNsPerMs;
        config.m_conditions = options.m_conditions;
        if (auto it = options.m_slowMs.find(type); it != options.m_slowMs.end()) {
            config.m_nLatencyNs = it->second * kNsPerMs;
        }
        bus->AddSensor(type, config);
    }
    bus->SetFaults(options.m_faults);
    return bus;
}

}  // namespace somatrix
