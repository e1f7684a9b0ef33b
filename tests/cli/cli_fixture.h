#pragma once
// somatrix-cli run as a user runs it: a temporary folder per test, and one command's exit status,
// standard output and standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace somatrix::test {

struct CRun {
    int m_nStatus = -1;
    std::string m_strOut;
    std::string m_strErr;
};

inline std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CCliTest : public ::testing::Test {
protected:
    explicit CCliTest(std::string folderName) : m_strFolderName(std::move(folderName)) {}

    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                (m_strFolderName + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    // Runs `ENV somatrix-cli ARGS`, where ENV may set variables (for example "TZ=UTC0 ").
    CRun RunCli(const std::string& args, const std::string& env = "") const {
        const std::filesystem::path out = m_dir / "stdout", err = m_dir / "stderr";
        const std::string command = env + std::string(SOMATRIX_CLI) + " " + args + " >" +
                                    out.string() + " 2>" + err.string();
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;

private:
    std::string m_strFolderName;
};

}  // namespace somatrix::test
