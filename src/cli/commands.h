#pragma once
// The somatrix-cli commands. Each takes the arguments after its name and returns the exit status;
// bad command lines and unreadable input throw CUsageError (exit status 2).
#include <string>
#include <vector>

namespace somatrix::cli {

int RunReplay(const std::vector<std::string>& args);

}  // namespace somatrix::cli
