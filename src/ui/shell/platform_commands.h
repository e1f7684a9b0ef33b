#pragma once
// The toolbar's platform commands: install the bridge driver (19001), open the technical document
// (19003) and open the shop page (19004). On Windows they start the delivered installer and PDF
// reader as separate programs; on Linux the driver is part of the kernel, so the driver command
// explains that and checks that this user may open USB serial ports, and the document opens in
// the desktop's PDF viewer.
#include <QString>
#include <QUrl>
#include <functional>

#include "platform/serial_access.h"

class QWidget;

namespace somatrix {

// Everything these commands hand to the desktop (files, web pages) goes through here, so tests
// can see what would open. Null restores QDesktopServices.
using COpenUrlHook = std::function<bool(const QUrl& url)>;
void SetOpenUrlHook(COpenUrlHook hook);
bool OpenWithDesktop(const QUrl& url);

// `programFolder` ends with a separator.
void OnInstallDriver(QWidget* parent, const QString& programFolder);
// "<program folder>Document/医用传感器组合_规格书.pdf".
QString TechnicalDocumentPath(const QString& programFolder);
// True when the document (or its reader) was started.
bool OnTechnicalDocument(QWidget* parent, const QString& programFolder);
// The "Shop" value of section "Setting" in the ini file; empty when none is configured.
QString ReadShopAddress(const QString& iniPath);
// True when the page was handed to the desktop.
bool OnShopPage(QWidget* parent, const QString& iniPath);

// The permission part of the driver command's explanation, with the exact fix when needed.
QString DescribePortAccess(const CPortAccessVerdict& verdict, bool portPresent);

}  // namespace somatrix
