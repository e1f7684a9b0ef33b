#pragma once
// Every text Tessaly shows or runs, in one place. The log texts, paths and commands are the
// program's fixed ones; the failure texts at the end say what a step could not do.
#include <QString>

namespace tessaly::texts {

inline const QString kTitle = QStringLiteral("Tessaly");
inline const QString kLabel = QStringLiteral("提示信息");
inline const QString kRegister = QStringLiteral("注册");
inline const QString kCancel = QStringLiteral("取消");
inline const QString kAboutItem = QStringLiteral("关于 Tessaly(&A)...");
inline const QString kAboutTitle = QStringLiteral("关于 Tessaly");
inline const QString kAboutVersion = QStringLiteral("Tessaly 1.0 版");
inline const QString kOk = QStringLiteral("确定");

// The control file, looked for in the current folder.
inline const QString kControlFile = QStringLiteral("MSCOMM32.OCX");

inline const QString kSystem32 = QStringLiteral("32位系统");
inline const QString kPresent32 = QStringLiteral("C:/WINDOWS/system32/MSCOMM32.OCX");
inline const QString kCopying32 = QStringLiteral("拷贝到system32");
inline const QString kTarget32 = QStringLiteral("C:\\Windows\\System32\\MSCOMM32.OCX");
inline const QString kRegistering32 = QStringLiteral("注册C:/WINDOWS/system32/MSCOMM32.OCX");
inline const QString kBatch32 = QStringLiteral("Setup_32.bat");
inline const QString kCommand32 = QStringLiteral("Cmd.exe /C Setup_32.bat");

inline const QString kSystem64 = QStringLiteral("64位系统");
inline const QString kPresent64 = QStringLiteral("C:/WINDOWS/sysWOW64/MSCOMM32.OCX");
inline const QString kCopying64 = QStringLiteral("拷贝到sysWOW64");
inline const QString kTarget64 = QStringLiteral("C:\\Windows\\sysWOW64\\MSCOMM32.OCX");
inline const QString kRegistering64 = QStringLiteral("注册C:/WINDOWS/sysWOW64/MSCOMM32.OCX");
inline const QString kBatch64 = QStringLiteral("Setup_64.bat");
inline const QString kCommand64 = QStringLiteral("Cmd.exe /C Setup_64.bat");

// A step that failed is said in the log, so the operator never takes a half-done install for a
// finished one; the registration is not started on a file that is not in place.
inline const QString kNoControlFile = QStringLiteral("拷贝失败：当前文件夹中没有MSCOMM32.OCX");
inline const QString kMoveFailed =
    QStringLiteral("拷贝失败：无法写入系统文件夹，请以管理员身份运行");
inline const QString kNoBatchFile = QStringLiteral("注册失败：当前文件夹中没有%1");
inline const QString kStartFailed = QStringLiteral("注册失败：无法运行“%1”");

}  // namespace tessaly::texts
