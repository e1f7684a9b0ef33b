#pragma once
// The somatrix-cli commands. Each takes the arguments after its name and returns the exit status;
// bad command lines and unreadable input throw CUsageError (exit status 2).
#include <string>
#include <vector>

namespace somatrix {
class COperCore;
}

namespace somatrix::cli {

int RunReplay(const std::vector<std::string>& args);
// review info FILE | time FILE INDEX... | cut FILE START END -o OUT
int RunReview(const std::vector<std::string>& args);
// export FILE (--edf OUT | --csv OUT) [--from S] [--to S]
int RunExport(const std::vector<std::string>& args);

#ifdef SOMATRIX_WITH_PLATFORM
int RunScan(const std::vector<std::string>& args);
int RunRecord(const std::vector<std::string>& args);
// Where the program looks for "Somatrix.ini" and writes its logs.
int RunPaths(const std::vector<std::string>& args);
// The scan button on the given ports (empty: the machine's candidate ports).
void ScanPorts(COperCore& core, const std::vector<std::string>& ports, bool slow);
#endif

}  // namespace somatrix::cli
