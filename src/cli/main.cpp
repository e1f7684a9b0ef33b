// somatrix-cli: the receive path, the scan and the recorder without a window.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/commands.h"

namespace {

constexpr char kUsage[] =
    "usage: somatrix-cli replay INPUT [--select TT] [--extremes] [--parsed FILE | --raw FILE]\n"
    "                           [--trace] [--binary [--chunk N]]\n"
    "       somatrix-cli beats FILE [--signal N] [--from S] [--to S]\n"
    "       somatrix-cli review info FILE\n"
    "       somatrix-cli review time FILE INDEX...\n"
    "       somatrix-cli review cut FILE START END -o OUT\n"
    "       somatrix-cli export FILE (--edf OUT | --csv OUT) [--from S] [--to S]\n"
#ifdef SOMATRIX_WITH_REPORT
    "       somatrix-cli report FILE -o OUT.pdf [--name N] [--class C] [--date D]\n"
#endif
#ifdef SOMATRIX_WITH_PLATFORM
    "       somatrix-cli scan [--port NAME]... [--slow]\n"
    "       somatrix-cli record --port NAME --sensor TT --seconds S [--parsed FILE | --raw FILE]\n"
    "                           [--gain G] [--mode M] [--trace] [--stats]\n"
    "                           [--edf FILE [--mark SECONDS:TEXT]...]\n"
    "                           [--reconnect [--reconnect-timeout S]]\n"
    "       somatrix-cli paths\n"
#endif
    ;

}  // namespace

int main(int argc, char** argv) {
    using namespace somatrix::cli;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? kExitBadInput : 0;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "replay") {
            return RunReplay(args);
        }
        if (command == "review") {
            return RunReview(args);
        }
        if (command == "beats") {
            return RunBeats(args);
        }
        if (command == "export") {
            return RunExport(args);
        }
#ifdef SOMATRIX_WITH_REPORT
        if (command == "report") {
            return RunReport(args);
        }
#endif
#ifdef SOMATRIX_WITH_PLATFORM
        if (command == "scan") {
            return RunScan(args);
        }
        if (command == "record") {
            return RunRecord(args);
        }
        if (command == "paths") {
            return RunPaths(args);
        }
#endif
        std::fprintf(stderr, "somatrix-cli: unknown command '%s'\n%s", command.c_str(), kUsage);
        return kExitBadInput;
    } catch (const CUsageError& e) {
        std::fprintf(stderr, "somatrix-cli %s: %s\n", command.c_str(), e.what());
        return kExitBadInput;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "somatrix-cli %s: %s\n", command.c_str(), e.what());
        return 1;
    }
}
