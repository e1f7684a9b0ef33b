// Linked into every test program: before anything else runs, the program gets a home folder of
// its own in the temporary folder (HOME and the XDG folders below it), removed when it ends. So
// no test, and no program a test starts, writes settings, logs or documents into the home of
// the person running the suite.
#ifndef _WIN32

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class CTemporaryHome {
public:
    CTemporaryHome() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                              "/somatrix-test-home-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data()) == nullptr) {
            std::perror("somatrix tests: cannot make a temporary home");
            std::abort();
        }
        m_strHome = buffer.data();
        ::setenv("HOME", m_strHome.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_strHome + "/.config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_strHome + "/.local/share").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (m_strHome + "/.cache").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (m_strHome + "/.local/state").c_str(), 1);
        ::unsetenv("XDG_DOCUMENTS_DIR");
    }
    ~CTemporaryHome() {
        std::error_code ignored;
        std::filesystem::remove_all(m_strHome, ignored);
    }
    CTemporaryHome(const CTemporaryHome&) = delete;
    CTemporaryHome& operator=(const CTemporaryHome&) = delete;

private:
    std::string m_strHome;
};

// Constructed before main; the test frameworks read the environment only from main on.
const CTemporaryHome g_home;

}  // namespace

#endif  // !_WIN32
