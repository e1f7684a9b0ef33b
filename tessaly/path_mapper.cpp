#include "path_mapper.h"

#include <QDir>
#include <QStringList>

#include <utility>

namespace tessaly {

namespace {

bool IsDrivePath(const QString& str) {
    return str.size() >= 3 && str[0].isLetter() && str[1] == QLatin1Char(':') &&
           str[2] == QLatin1Char('/');
}

// The entry of strFolder named strName in any case; an exact match wins.
QString FindEntry(const QString& strFolder, const QString& strName) {
    QDir dir(strFolder);
    if (dir.exists(strName)) {
        return strName;
    }
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& strEntry : entries) {
        if (strEntry.compare(strName, Qt::CaseInsensitive) == 0) {
            return strEntry;
        }
    }
    return strName;  // not there (yet): a move may still create it
}

}  // namespace

CPathMapper::CPathMapper(QString strDriveRoot, QString strCurrentFolder)
    : m_strDriveRoot(std::move(strDriveRoot)), m_strCurrentFolder(std::move(strCurrentFolder)) {}

std::optional<QString> CPathMapper::Resolve(const QString& strPath) const {
    QString str = strPath;
    str.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (str.isEmpty()) {
        return std::nullopt;
    }
    if (IsDrivePath(str)) {
        if (m_strDriveRoot.isEmpty()) {
#ifdef _WIN32
            return str;
#else
            // "C:/..." here would be a strange relative name in the current folder.
            return std::nullopt;
#endif
        }
        if (str[0].toUpper() != QLatin1Char('C')) {
            return std::nullopt;
        }
        return Walk(m_strDriveRoot, str.mid(3));
    }
    if (str.startsWith(QLatin1Char('/')) || str[0] == QLatin1Char(':') ||
        (str.size() >= 2 && str[1] == QLatin1Char(':'))) {
        return std::nullopt;  // rooted or drive-relative: not a name the operation uses
    }
    return Walk(m_strCurrentFolder, str);
}

std::optional<QString> CPathMapper::Walk(QString strBase, const QString& strRelative) const {
    const QStringList parts = strRelative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& strPart : parts) {
        if (strPart == QLatin1String(".")) {
            continue;
        }
        if (strPart == QLatin1String("..")) {
            return std::nullopt;  // never climb out of the stand-in drive or the current folder
        }
        strBase = strBase + QLatin1Char('/') + FindEntry(strBase, strPart);
    }
    return strBase;
}

}  // namespace tessaly
