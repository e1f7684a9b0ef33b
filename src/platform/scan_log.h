#pragma once
// The port scan's diagnostic lines go to the logging category "somatrix.scan" at debug level,
// off unless enabled, e.g. QT_LOGGING_RULES="somatrix.scan.debug=true".
#include <QLoggingCategory>

#include "discovery/port_scanner.h"

Q_DECLARE_LOGGING_CATEGORY(lcSomatrixScan)

namespace somatrix {

// A trace callback for CPortScanner that writes to the category; safe on any thread.
CScanTrace ScanTraceToLog();

}  // namespace somatrix
