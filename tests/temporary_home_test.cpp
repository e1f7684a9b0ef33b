#include <gtest/gtest.h>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace somatrix {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

TEST(TemporaryHome, EveryTestProgramRunsInAHomeOfItsOwn) {
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    const std::string home = Env("HOME");
    ASSERT_FALSE(home.empty());
    EXPECT_NE(std::filesystem::path(home), std::filesystem::path(user->pw_dir));
    EXPECT_TRUE(std::filesystem::is_directory(home));
    EXPECT_NE(home.find("somatrix-test-home-"), std::string::npos) << home;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        EXPECT_EQ(Env(name).rfind(home + "/", 0), 0u) << name << "=" << Env(name);
    }
}

}  // namespace
}  // namespace somatrix
#endif
