#pragma once
// Lowers this process's file-size limit for the lifetime of the object, so that a write past the
// limit fails part-way (SIGXFSZ is ignored, the write returns an error) the way a full disk does.
#include <sys/resource.h>

#include <csignal>

namespace somatrix {

class CFileSizeLimit {
public:
    explicit CFileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~CFileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_saved); }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

private:
    rlimit m_saved{};
};

}  // namespace somatrix
