// Saving a review recording as an editor saves: through a temporary file where the folder takes
// one, in place where it does not, never over a read-only file, never a file too short to open.
#include "platform/review_file_saver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "file_size_limit.h"
#include "review/review_file.h"

namespace somatrix {
namespace {

namespace fs = std::filesystem;

CReviewRecording Ramp(uint32_t count) {
    std::vector<uint8_t> bytes;
    for (uint32_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<uint8_t>(i));
        bytes.push_back(static_cast<uint8_t>(i >> 8 & 0x0F));
    }
    CReviewRecording r;
    r.AddSegment(0, 1700000000);
    r.AppendSamples(bytes.data(), count);
    return r;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const fs::path& path, const std::string& text, fs::perms perms) {
    std::ofstream(path, std::ios::binary) << text;
    fs::permissions(path, perms);
}

// Folder permissions bind only an unprivileged user: as the administrator, `body` runs in a
// child process that has given its rights up.
void AsUnprivileged(const fs::path& dir, void (*body)(const fs::path&)) {
    if (::geteuid() != 0) {
        body(dir);
        return;
    }
    fs::permissions(dir, fs::perms::all);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        if (dropped) {
            body(dir);
        }
        ::_exit(dropped && !::testing::Test::HasFailure() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

void SaveLikeAnEditor(const fs::path& dir) {
    const CReviewRecording ramp = Ramp(3000);
    std::string error;
    const std::string old = "previous contents";

    // A writable file in a writable folder is replaced by the whole recording.
    const fs::path plain = dir / "plain.dat";
    Write(plain, old, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(SaveReviewFile(QString::fromStdString(plain.string()), ramp, error)) << error;
    CReviewRecording back;
    ASSERT_EQ(LoadWaveFile(plain.string(), back).m_result, ELoadResult::kLoaded);
    EXPECT_EQ(std::vector<uint16_t>(back.Samples(), back.Samples() + back.SampleCount()),
              std::vector<uint16_t>(ramp.Samples(), ramp.Samples() + ramp.SampleCount()));

    // A failure part-way leaves the old file as it was and no temporary file behind.
    Write(plain, old, fs::perms::owner_read | fs::perms::owner_write);
    {
        const CFileSizeLimit limit(1024);
        EXPECT_FALSE(SaveReviewFile(QString::fromStdString(plain.string()), ramp, error));
    }
    EXPECT_EQ(error.rfind("文件打开失败!\n", 0), 0u) << error;
    EXPECT_EQ(Read(plain), old);

    // A read-only file is refused with the reason, and kept.
    const fs::path locked = dir / "locked.dat";
    Write(locked, old, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(SaveReviewFile(QString::fromStdString(locked.string()), ramp, error));
    EXPECT_EQ(error.rfind("文件打开失败!\n", 0), 0u) << error;
    EXPECT_NE(error.find("只读"), std::string::npos) << error;
    EXPECT_EQ(Read(locked), old);

    // A writable file in a folder that takes no new file is written in place.
    const fs::path shut = dir / "shut";
    fs::create_directory(shut);
    Write(shut / "open.dat", old, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(shut, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(SaveReviewFile(QString::fromStdString((shut / "open.dat").string()), ramp, error))
        << error;
    EXPECT_EQ(fs::file_size(shut / "open.dat"), 10u + 2u * 3000u);
    // A new file there cannot be made at all.
    EXPECT_FALSE(SaveReviewFile(QString::fromStdString((shut / "new.dat").string()), ramp, error));
    EXPECT_EQ(error.rfind("文件打开失败!\n", 0), 0u) << error;
    fs::permissions(shut, fs::perms::owner_all);

    // 44 samples would make a 98-byte file that never opens again: nothing is written.
    const fs::path tiny = dir / "tiny.dat";
    EXPECT_FALSE(SaveReviewFile(QString::fromStdString(tiny.string()), Ramp(44), error));
    EXPECT_NE(error.find("45"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(tiny));
    EXPECT_TRUE(SaveReviewFile(QString::fromStdString(tiny.string()), Ramp(45), error)) << error;
    EXPECT_EQ(LoadWaveFile(tiny.string(), back).m_result, ELoadResult::kLoaded);
    EXPECT_EQ(back.SampleCount(), 45u);
}

TEST(ReviewFileSaver, SavesLikeAnEditor) {
    const fs::path dir = fs::temp_directory_path() / ("saver-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    AsUnprivileged(dir, SaveLikeAnEditor);
    std::error_code ignored;
    fs::permissions(dir / "shut", fs::perms::owner_all, ignored);
    fs::remove_all(dir, ignored);
}

}  // namespace
}  // namespace somatrix
