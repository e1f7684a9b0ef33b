#pragma once
// Command line of somatrix-sim and how it builds the bus.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "review_writer.h"
#include "sim_bus.h"

namespace somatrix {

struct CSimOptions {
    std::vector<uint8_t> m_types;  // sensors on the bus, catalogue order; default all fourteen
    uint64_t m_nSeed = 1;
    uint64_t m_nLatencyMs = 3;
    std::map<uint8_t, CSensorConfig> m_perSensor;  // device number, date, silence
    std::map<uint8_t, uint64_t> m_slowMs;          // latency of the slow sensors
    CFaultPlan m_faults;
    std::string m_strLink;
    bool m_bHelp = false;

    CSimConditions m_conditions;  // for every sensor and the review file

    std::string m_strReviewFile;  // --write-review: write this file and exit
    std::string m_strBeatsFile;   // --write-beats: the review ECG's true R peaks, one a line
    CReviewOptions m_review;
};

// False with a message on a malformed command line.
// Writes the true beat times (seconds, one a line); false with a reason.
bool WriteBeatTimes(const std::string& path, const std::vector<double>& beats, std::string& error);
bool ParseSimOptions(int argc, const char* const* argv, CSimOptions& options, std::string& error);
// The bus of the chosen sensors, with their settings and the faults.
std::unique_ptr<CSimBus> BuildSimBus(const CSimOptions& options);
std::string SimUsage();

}  // namespace somatrix
