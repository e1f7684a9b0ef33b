#pragma once
// A temporary folder standing in for the system drive ("drive/Windows/System32", ".../SysWOW64")
// and a current folder ("work") holding the control and batch files. The host system layer runs
// on it for real; only the width is chosen by the test and started commands are recorded.
#include "host_system.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tessaly::test {

class CStandInSystem : public CHostSystem {
public:
    CStandInSystem(const QTemporaryDir& dir, int nBits);

    int GetNativeBits() const override { return m_nBits; }
    bool StartHidden(const QString& strCommandLine) override;

    QStringList m_commands;  // every command line started, in order
    bool m_bStartWorks = true;

private:
    int m_nBits;
};

// Builds the stand-in layout in `dir`: both system folders, and in "work" the control file (with
// `control` as its bytes) and both batch files.
void MakeStandIn(const QTemporaryDir& dir, const QByteArray& control = "control v1");

QString DrivePath(const QTemporaryDir& dir, const QString& strRelative);
QString WorkPath(const QTemporaryDir& dir, const QString& strName);
QByteArray ReadAll(const QString& strPath);
void WriteFile(const QString& strPath, const QByteArray& bytes);

}  // namespace tessaly::test
