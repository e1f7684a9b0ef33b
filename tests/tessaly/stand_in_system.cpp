#include "stand_in_system.h"

#include <QDir>
#include <QFile>

namespace tessaly::test {

CStandInSystem::CStandInSystem(const QTemporaryDir& dir, int nBits)
    : CHostSystem(
          CPathMapper(dir.filePath(QStringLiteral("drive")), dir.filePath(QStringLiteral("work")))),
      m_nBits(nBits) {}

bool CStandInSystem::StartHidden(const QString& strCommandLine) {
    if (!m_bStartWorks) {
        return false;
    }
    m_commands << strCommandLine;
    return true;
}

void MakeStandIn(const QTemporaryDir& dir, const QByteArray& control) {
    QDir root(dir.path());
    root.mkpath(QStringLiteral("drive/Windows/System32"));
    root.mkpath(QStringLiteral("drive/Windows/SysWOW64"));
    root.mkpath(QStringLiteral("work"));
    WriteFile(WorkPath(dir, QStringLiteral("MSCOMM32.OCX")), control);
    WriteFile(WorkPath(dir, QStringLiteral("Setup_32.bat")), "@echo off\r\n");
    WriteFile(WorkPath(dir, QStringLiteral("Setup_64.bat")), "@echo off\r\n");
}

QString DrivePath(const QTemporaryDir& dir, const QString& strRelative) {
    return dir.filePath(QStringLiteral("drive/") + strRelative);
}

QString WorkPath(const QTemporaryDir& dir, const QString& strName) {
    return dir.filePath(QStringLiteral("work/") + strName);
}

QByteArray ReadAll(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& strPath, const QByteArray& bytes) {
    QFile file(strPath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
}

}  // namespace tessaly::test
