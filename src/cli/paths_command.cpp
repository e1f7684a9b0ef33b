// somatrix-cli paths: the program folder, the "Somatrix.ini" every command reads and the folder
// the window's logs go to, as this copy of the program finds them.
#ifdef SOMATRIX_WITH_PLATFORM

#include <cstdio>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "platform/program_folder.h"

namespace somatrix::cli {

int RunPaths(const std::vector<std::string>& args) {
    if (!args.empty()) {
        throw CUsageError("unknown argument " + args.front());
    }
    std::printf("program %s\nini %s\nlogs %s\n", GetProgramFolder().c_str(), GetIniPath().c_str(),
                GetLogFolder().c_str());
    return 0;
}

}  // namespace somatrix::cli

#endif  // SOMATRIX_WITH_PLATFORM
