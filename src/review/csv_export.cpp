#include "review/csv_export.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "review/file_replace.h"

namespace somatrix {

namespace {

struct CFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool WriteCsvFile(const std::string& path, const CReviewSource& source, uint32_t first,
                  uint32_t last, std::string& error) {
    last = std::min(last, source.SampleCount());
    first = std::min(first, last);
    const std::string temporary = path + ".part";
    bool ok = false;
    {
        std::unique_ptr<std::FILE, CFileCloser> f(std::fopen(temporary.c_str(), "wb"));
        if (!f) {
            error = "cannot create " + path;
            return false;
        }
        ok = std::fputs("time_s,value\n", f.get()) >= 0;
        const std::vector<CSampleGap>& gaps = source.Gaps();
        size_t gap = 0;
        const uint16_t* samples = source.Samples();
        for (uint32_t i = first; i < last && ok; ++i) {
            while (gap < gaps.size() && gaps[gap].m_nEnd <= i) {
                ++gap;
            }
            const double t = source.SampleSeconds(i);
            if (gap < gaps.size() && gaps[gap].m_nStart <= i) {
                ok = std::fprintf(f.get(), "%.3f,\n", t) > 0;
            } else {
                ok = std::fprintf(f.get(), "%.3f,%.10g\n", t, source.Physical(samples[i])) > 0;
            }
        }
        ok = ok && std::fflush(f.get()) == 0;
    }
    if (!ok) {
        std::remove(temporary.c_str());
        error = "cannot write " + path;
        return false;
    }
    return ReplaceWithTemporary(temporary, path, error);
}

}  // namespace somatrix
