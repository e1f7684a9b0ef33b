#include "recording/edf_repair.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "recording/annotation_journal.h"
#include "recording/edf_annotations.h"
#include "recording/edf_layout.h"

namespace somatrix {

namespace {

struct CFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

CRepairOutcome Failed(const std::string& error) {
    return {ERepairResult::kFailed, 0, error};
}

}  // namespace

CRepairOutcome RepairRecording(const std::string& path) {
    namespace fs = std::filesystem;
    const std::string journal = CAnnotationJournal::PathFor(path);
    std::error_code ec;
    if (!fs::exists(journal, ec)) {
        return {};
    }
    const auto size = static_cast<long long>(fs::file_size(path, ec));
    if (ec) {
        return Failed("cannot read " + path);
    }
    CEdfLayout layout;
    long long records = 0;
    {
        std::unique_ptr<std::FILE, CFileCloser> f(std::fopen(path.c_str(), "r+b"));
        if (!f) {
            return Failed("cannot open " + path);
        }
        std::string error;
        if (!ReadEdfLayout(f.get(), layout, error)) {
            return Failed(error);
        }
        records = (size - layout.m_nHeaderBytes) / layout.m_nRecordBytes;
        if (records < 0) {
            records = 0;
        }
        char count[32];
        std::snprintf(count, sizeof count, "%-8lld", records);
        if (std::fseek(f.get(), 236, SEEK_SET) != 0 || std::fwrite(count, 1, 8, f.get()) != 8 ||
            std::fflush(f.get()) != 0) {
            return Failed("cannot write " + path);
        }
    }
    fs::resize_file(
        path, static_cast<uintmax_t>(layout.m_nHeaderBytes + records * layout.m_nRecordBytes), ec);
    if (ec) {
        return Failed("cannot shorten " + path);
    }
    std::string error;
    if (records > 0 && !PlaceAnnotations(path, CAnnotationJournal::Read(journal), error) &&
        error != "no room for every annotation") {
        return Failed(error);
    }
    fs::remove(journal, ec);
    return {ERepairResult::kRepaired, records, {}};
}

std::vector<std::string> RepairRecordingsIn(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> repaired;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path p = it->path();
        if (p.extension() != ".journal" || p.stem().extension() != ".edf") {
            continue;
        }
        const std::string recording = (p.parent_path() / p.stem()).string();
        if (RepairRecording(recording).m_result == ERepairResult::kRepaired) {
            repaired.push_back(recording);
        }
    }
    return repaired;
}

}  // namespace somatrix
