#pragma once
// The byte layout of an EDF+ file as its header describes it: where the data records start,
// how long one is, and where each record's annotation areas lie. Read with bounds checks from
// untrusted bytes; used to repair recordings cut short and to place annotation texts.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace somatrix {

struct CEdfLayout {
    int64_t m_nHeaderBytes = 0;
    int64_t m_nRecordBytes = 0;
    int64_t m_nRecordsInHeader = -1;  // the header's count; -1 while a recording is open
    // Byte offset and length, within one record, of every "EDF Annotations" signal; the first
    // holds the time-keeping note of the record.
    std::vector<std::pair<int64_t, int64_t>> m_annotationAreas;
    // Byte offset within one record and samples per record of every other signal, in order.
    std::vector<std::pair<int64_t, int64_t>> m_signals;
};

// Reads the header of the open file `f`; false with `error` set when it is not an EDF+ header
// this program can work on.
bool ReadEdfLayout(std::FILE* f, CEdfLayout& layout, std::string& error);

}  // namespace somatrix
