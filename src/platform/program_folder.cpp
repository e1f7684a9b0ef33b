#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef _WIN32
#include <windows.h>
#endif

namespace somatrix {

namespace {

QString ExecutablePath() {
#ifdef _WIN32
    wchar_t buffer[1024];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, 1024);
    if (n > 0 && n < 1024) {
        return QString::fromWCharArray(buffer, static_cast<int>(n));
    }
#else
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists()) {
        return self.canonicalFilePath();
    }
#endif
    return QCoreApplication::applicationFilePath();
}

std::string WithSeparator(const QString& folder) {
    return QDir::toNativeSeparators(folder + QLatin1Char('/')).toStdString();
}

}  // namespace

std::string GetProgramFolder() {
    return WithSeparator(QFileInfo(ExecutablePath()).absolutePath());
}

std::string GetIniPath() {
    return GetProgramFolder() + "Somatrix.ini";
}

std::string GetLogFolder() {
    const QString program = QFileInfo(ExecutablePath()).absolutePath();
    const QFileInfo folder(program);
    const QFileInfo data(program + QStringLiteral("/Data"));
    // The Data folder beside the program is used when it exists and is writable, or when it can
    // be created there.
    const bool writable = data.exists() ? (data.isDir() && data.isWritable()) : folder.isWritable();
    if (writable) {
        return QDir::toNativeSeparators(data.absoluteFilePath()).toStdString();
    }
    const QString documents =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir::toNativeSeparators(documents + QStringLiteral("/Data")).toStdString();
}

}  // namespace somatrix
