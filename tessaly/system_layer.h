#pragma once
// What the register operation asks of the system. Paths are given the way Windows names them
// ("C:/WINDOWS/...", "C:\\Windows\\..." or relative to the current folder); an implementation
// that cannot reach a path answers as Windows would for a missing one. Called on the GUI thread.
#include <QString>

namespace tessaly {

enum class EMoveResult { kMoved, kSourceMissing, kFailed };

class CSystemLayer {
public:
    virtual ~CSystemLayer() = default;

    // 64 or 32: the width of the running system, not of this program.
    virtual int GetNativeBits() const = 0;
    virtual bool FileExists(const QString& strPath) const = 0;
    // Moves a file, replacing a file of the same name at the target.
    virtual EMoveResult MoveReplacing(const QString& strFrom, const QString& strTo) = 0;
    // Starts a command line in the current folder with no window and does not wait for it.
    // False when it could not be started at all.
    virtual bool StartHidden(const QString& strCommandLine) = 0;
};

}  // namespace tessaly
