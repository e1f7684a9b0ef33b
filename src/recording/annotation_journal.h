#pragma once
// The journal beside an open recording ("NAME.edf.journal"): one line per annotation, written
// through to the disk as each one is made, so that a recording cut short by a crash or power
// loss gets its annotations back. Its presence also marks the recording as not closed cleanly;
// a clean close removes it. Framework-free; the recorder owns one.
#include <cstdio>
#include <string>
#include <vector>

#include "recording/annotation.h"

namespace somatrix {

class CAnnotationJournal {
public:
    ~CAnnotationJournal();
    static std::string PathFor(const std::string& recordingPath) {
        return recordingPath + ".journal";
    }
    // Creates the journal; false when it cannot be written.
    bool Open(const std::string& path);
    bool Append(const CAnnotation& annotation);
    // Closes and, when `remove` is set, deletes it.
    void Close(bool remove);

    // The annotations of a journal; lines that do not parse (a last line cut short) are skipped.
    static std::vector<CAnnotation> Read(const std::string& path);

private:
    std::FILE* m_pFile = nullptr;
    std::string m_strPath;
};

}  // namespace somatrix
