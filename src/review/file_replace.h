#pragma once
// The last step of a save through a temporary file beside the target: the finished temporary
// file takes the target's place in one rename, so a failure anywhere before leaves the old file
// as it was. Any thread.
#include <string>

namespace somatrix {

// Renames `temporary` over `path`. On failure the temporary file is removed and `error` says why
// (the cause in Chinese).
bool ReplaceWithTemporary(const std::string& temporary, const std::string& path,
                          std::string& error);

}  // namespace somatrix
