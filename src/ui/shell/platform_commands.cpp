#include "ui/shell/platform_commands.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "platform/os_version.h"
#include "protocol/ini_profile.h"
#include "ui/shell/message_box.h"
#include "ui/shell/shell_texts.h"

namespace somatrix {

namespace {

COpenUrlHook& Hook() {
    static COpenUrlHook hook;
    return hook;
}

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

void SetOpenUrlHook(COpenUrlHook hook) {
    Hook() = std::move(hook);
}

bool OpenWithDesktop(const QUrl& url) {
    if (Hook()) {
        return Hook()(url);
    }
    return QDesktopServices::openUrl(url);
}

QString DescribePortAccess(const CPortAccessVerdict& verdict, bool portPresent) {
    const QString user = QString::fromStdString(verdict.m_strUser);
    const QString path = QString::fromStdString(verdict.m_strPath);
    const QString group = QString::fromStdString(verdict.m_strGroup);
    switch (verdict.m_access) {
        case EPortAccess::kAllowed:
            return portPresent ? Text(texts::kPortAllowed).arg(path)
                               : Text(texts::kPortAllowedNoDevice);
        case EPortAccess::kJoinGroup:
            return Text(texts::kPortJoinGroup).arg(user, path, group);
        case EPortAccess::kLogInAgain:
            return Text(texts::kPortLogInAgain).arg(user, path, group);
        case EPortAccess::kUdevRule:
            return Text(texts::kPortUdevRule)
                .arg(user, path, group, QString::fromLatin1(kUdevRulePath),
                     QString::fromLatin1(kUdevRule));
    }
    return {};
}

void OnInstallDriver(QWidget* parent, const QString& programFolder) {
    const QString installer = QString::fromStdString(
        ChooseDriverInstaller(programFolder.toStdString(), GetOSVersionName()));
    const auto answer =
        AskMessageBox(parent, Text(texts::kNoteCaption), Text(texts::kDriverQuestion),
                      QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok) {
        return;
    }
#ifdef _WIN32
    // The installer runs on its own; whether it exists or starts is its own business.
    QProcess::startDetached(installer, {}, programFolder);
#else
    Q_UNUSED(installer);
    bool present = false;
    const CPortAccessVerdict verdict = CheckSerialPortAccess(present);
    AskMessageBox(
        parent, Text(texts::kNoteCaption),
        Text(texts::kDriverInKernel) + QStringLiteral("\n\n") +
            DescribePortAccess(verdict, present),
        verdict.m_access == EPortAccess::kAllowed ? QMessageBox::Information : QMessageBox::Warning,
        QMessageBox::Ok);
#endif
}

QString TechnicalDocumentPath(const QString& programFolder) {
    return QDir::toNativeSeparators(programFolder + QStringLiteral("Document/") +
                                    Text(texts::kDocumentName) + QStringLiteral(".pdf"));
}

bool OnTechnicalDocument(QWidget* parent, const QString& programFolder) {
    const QString document = TechnicalDocumentPath(programFolder);
#ifdef _WIN32
    // The delivered reader gets the document as its own argument, so a folder with spaces in
    // its name reaches it whole.
    Q_UNUSED(parent);
    const QString reader =
        QDir::toNativeSeparators(programFolder + QStringLiteral("Document/Foxit_Reader.exe"));
    return QProcess::startDetached(reader, {document}, programFolder);
#else
    if (!QFileInfo(document).isFile()) {
        ShowMessageBox(parent, Text(texts::kDocumentMissing).arg(document));
        return false;
    }
    if (!OpenWithDesktop(QUrl::fromLocalFile(document))) {
        ShowMessageBox(parent, Text(texts::kDocumentOpenFailed).arg(document));
        return false;
    }
    return true;
#endif
}

QString ReadShopAddress(const QString& iniPath) {
    CIniProfile profile;
    if (!profile.Load(iniPath.toStdString())) {
        return {};
    }
    return QString::fromStdString(profile.GetString("Setting", "Shop")).trimmed();
}

bool OnShopPage(QWidget* parent, const QString& iniPath) {
    const QString address = ReadShopAddress(iniPath);
    if (address.isEmpty()) {
        ShowMessageBox(parent, Text(texts::kNoShop));
        return false;
    }
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid() || !OpenWithDesktop(url)) {
        ShowMessageBox(parent, Text(texts::kShopOpenFailed).arg(address));
        return false;
    }
    return true;
}

}  // namespace somatrix
