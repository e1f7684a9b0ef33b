// Opening EDF+ files and repairing recordings cut short: any bytes must be refused or read
// within bounds, never crash.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <string>

#include "recording/edf_repair.h"
#include "review/edf_load.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/somatrix_edf_fuzz_" + std::to_string(::getpid()) + ".edf";
    const auto write = [&](const std::string& p, const uint8_t* bytes, size_t n) {
        std::FILE* f = std::fopen(p.c_str(), "wb");
        if (f != nullptr) {
            std::fwrite(bytes, 1, n, f);
            std::fclose(f);
        }
    };
    write(path, data, size);
    somatrix::CReviewSource source;
    somatrix::LoadEdfFile(path, source);
    if (source.SampleCount() > 0) {
        std::string text;
        source.FormatSampleTime(source.SampleCount() - 1, &text);
    }
    // The same bytes as a recording cut short, with a journal of one annotation.
    const uint8_t journal[] = "somatrix annotation journal 1\nA 12345 -1 mark$\n";
    write(path + ".journal", journal, sizeof journal - 1);
    somatrix::RepairRecording(path);
    std::remove((path + ".journal").c_str());
    std::remove(path.c_str());
    return 0;
}
