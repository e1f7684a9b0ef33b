#include "platform/scan_log.h"

Q_LOGGING_CATEGORY(lcSomatrixScan, "somatrix.scan", QtInfoMsg)

namespace somatrix {

CScanTrace ScanTraceToLog() {
    return [](const std::string& line) { qCDebug(lcSomatrixScan).noquote() << line.c_str(); };
}

}  // namespace somatrix
