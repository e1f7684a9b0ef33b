#pragma once
// Saves a review recording the way an editor saves a document: into a temporary file beside the
// target that replaces it only when complete, or straight into the target where the folder
// allows no temporary file. A read-only target is never replaced. Used by the review display
// and the command line, on the caller's thread.
#include <QString>
#include <string>

#include "review/review_recording.h"

namespace somatrix {

// False with `error` set to the operator's message: "文件打开失败!" and the reason, or why the
// recording is too short to be saved (then nothing is written).
bool SaveReviewFile(const QString& path, const CReviewRecording& recording, std::string& error);

}  // namespace somatrix
