#include "host_system.h"

#include "architecture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessaly {

namespace fs = std::filesystem;

namespace {

fs::path ToFsPath(const QString& str) {
    return fs::path(str.toStdU16String()).make_preferred();  // Windows wants backslashes
}

}  // namespace

CHostSystem::CHostSystem() : m_mapper(QString(), QDir::currentPath()) {}

CHostSystem::CHostSystem(CPathMapper mapper) : m_mapper(std::move(mapper)) {}

int CHostSystem::GetNativeBits() const {
    return NativeArchitectureBits();
}

bool CHostSystem::FileExists(const QString& strPath) const {
    const auto strLocal = m_mapper.Resolve(strPath);
    return strLocal && QFileInfo::exists(*strLocal);
}

EMoveResult CHostSystem::MoveReplacing(const QString& strFrom, const QString& strTo) {
    const auto strSource = m_mapper.Resolve(strFrom);
    if (!strSource || !QFileInfo(*strSource).isFile()) {
        return EMoveResult::kSourceMissing;
    }
    const auto strTarget = m_mapper.Resolve(strTo);
    if (!strTarget) {
        return EMoveResult::kFailed;
    }
    const fs::path source = ToFsPath(*strSource);
    const fs::path target = ToFsPath(*strTarget);
    std::error_code ec;
#ifdef _WIN32
    if (!MoveFileExW(source.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        return EMoveResult::kFailed;
    }
#else
    fs::rename(source, target, ec);  // replaces an existing target
#endif
    if (ec == std::errc::cross_device_link) {
        // Another volume: copy, and give up the source only once the copy is complete.
        ec.clear();
        fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
        if (!ec) {
            fs::remove(source, ec);
            ec.clear();  // the control is in place; a leftover source does no harm
        }
    }
    return ec ? EMoveResult::kFailed : EMoveResult::kMoved;
}

#ifdef _WIN32
bool CHostSystem::StartHidden(const QString& strCommandLine) {
    std::wstring strLine = strCommandLine.toStdWString();  // CreateProcessW may write into it
    const std::wstring strFolder =
        QDir::toNativeSeparators(m_mapper.GetCurrentFolder()).toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, strLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        strFolder.c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
#else
bool CHostSystem::StartHidden(const QString& strCommandLine) {
    QStringList args = QProcess::splitCommand(strCommandLine);
    if (args.isEmpty()) {
        return false;
    }
    const QString strProgram = args.takeFirst();
    return QProcess::startDetached(strProgram, args, m_mapper.GetCurrentFolder());
}
#endif

}  // namespace tessaly
