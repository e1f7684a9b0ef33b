#include "platform/review_file_saver.h"

#include <QFileInfo>
#include <QSaveFile>

#include "review/review_file.h"

namespace somatrix {

namespace {

constexpr char kOpenFailed[] = "文件打开失败!";

std::string Failure(const QString& reason) {
    return std::string(kOpenFailed) + "\n" + reason.toStdString();
}

}  // namespace

bool SaveReviewFile(const QString& path, const CReviewRecording& recording, std::string& error) {
    error.clear();
    if (!IsSavable(recording, error)) {
        return false;
    }
    // Read-only means the file's own permissions say so, for an administrator too, as in an
    // editor.
    const QFileInfo target(path);
    constexpr QFile::Permissions kAnyWrite =
        QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    if (target.exists() && (!target.isWritable() || !(target.permissions() & kAnyWrite))) {
        error = Failure(QStringLiteral("文件 %1 是只读的，不能覆盖").arg(path));
        return false;
    }
    QSaveFile file(path);
    // A folder that takes no new file may still hold a writable file: write it in place then.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        error = Failure(QStringLiteral("无法创建文件 %1（%2）").arg(path, file.errorString()));
        return false;
    }
    const bool written = EncodeWaveFile(recording, [&file](const void* bytes, size_t n) {
        return file.write(static_cast<const char*>(bytes), static_cast<qint64>(n)) ==
               static_cast<qint64>(n);
    });
    // The last buffered bytes are written here, where a short write still shows: the commit
    // itself would not report it.
    if (!written || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        error = Failure(QStringLiteral("无法写入文件 %1（%2）").arg(path, reason));
        return false;
    }
    if (!file.commit()) {
        error = Failure(QStringLiteral("无法写入文件 %1（%2）").arg(path, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace somatrix
