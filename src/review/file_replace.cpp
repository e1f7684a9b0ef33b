#include "review/file_replace.h"

#include <cstdio>
#include <filesystem>

#include "protocol/system_error_text.h"

namespace somatrix {

bool ReplaceWithTemporary(const std::string& temporary, const std::string& path,
                          std::string& error) {
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (!ec) {
        return true;
    }
    std::remove(temporary.c_str());
    error = "cannot replace " + path + ": " + SystemErrorText(ec.value());
    return false;
}

}  // namespace somatrix
