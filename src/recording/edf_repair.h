#pragma once
// Repair of a recording cut short (crash, kill, power loss): EDFlib writes the record count and
// the annotations only when it closes a file. A recording whose journal is still beside it was
// not closed; its record count is set from the file's size (a last record written in part is
// dropped) and its annotations come back from the journal. Framework-free.
#include <string>
#include <vector>

namespace somatrix {

enum class ERepairResult {
    kNotNeeded,  // no journal: the recording was closed cleanly (or is not one of ours)
    kRepaired,
    kFailed,  // `error` says why; the journal is kept for another try
};

struct CRepairOutcome {
    ERepairResult m_result = ERepairResult::kNotNeeded;
    long long m_nRecords = 0;  // data records (seconds) the repaired file holds
    std::string m_strError;
};

CRepairOutcome RepairRecording(const std::string& path);

// Repairs every recording in `folder` that has a journal beside it; returns the paths repaired.
std::vector<std::string> RepairRecordingsIn(const std::string& folder);

}  // namespace somatrix
