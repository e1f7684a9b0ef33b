// A copy of somatrix-cli in a folder of its own finds "Somatrix.ini" and the Data folder there,
// wherever it is started from.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace somatrix {
namespace {

namespace fs = std::filesystem;

std::string RunShell(const std::string& command, int& status) {
    std::string out;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            out.append(buffer, n);
        }
        const int raw = ::pclose(pipe);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return out;
}

TEST(ProgramFolder, ACopiedProgramReadsTheIniAndLogsBesideItself) {
#ifndef SOMATRIX_CLI_HAS_PLATFORM
    GTEST_SKIP() << "somatrix-cli built without the serial adapters";
#endif
    const fs::path folder =
        fs::temp_directory_path() / ("somatrix_copy_" + std::to_string(::getpid())) / "Pro gram";
    fs::remove_all(folder.parent_path());
    fs::create_directories(folder);
    const fs::path copy = folder / "somatrix-cli";
    fs::copy_file(SOMATRIX_CLI, copy);
    // "脉搏仪" in GBK (C2 F6 B2 AB D2 C7), and a UTF-8 name with a blank.
    std::ofstream(folder / "Somatrix.ini", std::ios::binary)
        << "[Setting]\r\nDev_CA=\xC2\xF6\xB2\xAB\xD2\xC7\r\nDev_CE=My ECG\r\n";

    // Started from another working directory, by its full path.
    const std::string prefix = "cd / && env -u SOMATRIX_PORTS '" + copy.string() + "' ";
    int status = -1;
    const std::string paths = RunShell(prefix + "paths", status);
    EXPECT_EQ(status, 0);
    const std::string dir = folder.string();
    EXPECT_EQ(paths, "program " + dir + "/\nini " + dir + "/Somatrix.ini\nlogs " + dir + "/Data\n");

    const std::string scan = RunShell(prefix + "scan --port /dev/somatrix-no-such-port", status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(scan.find("\nrecord 8 CA 0 - - 脉搏仪\n"), std::string::npos) << scan;
    EXPECT_NE(scan.find("\nrecord 12 CE 0 - - My ECG\n"), std::string::npos) << scan;
    EXPECT_NE(scan.find("\nrecord 7 C9 0 - - 体温传感器VT-307\n"), std::string::npos) << scan;

    // No Data folder can be made beside the program (a file of that name is in the way): the
    // logs go to Data in the user's documents.
    std::ofstream(folder / "Data") << "not a folder";
    const fs::path home = folder.parent_path() / "home";
    const std::string elsewhere =
        RunShell("cd / && env -u SOMATRIX_PORTS -u XDG_CONFIG_HOME -u XDG_DOCUMENTS_DIR HOME='" +
                     home.string() + "' '" + copy.string() + "' paths",
                 status);
    EXPECT_NE(elsewhere.find("\nlogs " + (home / "Documents" / "Data").string() + "\n"),
              std::string::npos)
        << elsewhere;
    fs::remove_all(folder.parent_path());
}

}  // namespace
}  // namespace somatrix
