#pragma once
// Turns the Windows paths of the register operation into paths on this machine. A stand-in
// folder can take the place of the system drive "C:", so the whole operation runs against a
// folder of our choosing; names are matched without regard to case, as Windows does.
#include <QString>

#include <optional>

namespace tessaly {

class CPathMapper {
public:
    // strDriveRoot empty: drive paths are used as they are on Windows and are unreachable
    // elsewhere. Relative paths are taken from strCurrentFolder.
    CPathMapper(QString strDriveRoot, QString strCurrentFolder);

    // The local path, or nothing when the path cannot be reached from here.
    std::optional<QString> Resolve(const QString& strPath) const;

    const QString& GetCurrentFolder() const { return m_strCurrentFolder; }

private:
    std::optional<QString> Walk(QString strBase, const QString& strRelative) const;

    QString m_strDriveRoot;
    QString m_strCurrentFolder;
};

}  // namespace tessaly
