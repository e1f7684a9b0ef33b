// Tessaly: installs and registers the serial communications control that Somatrix hosts.
#include "host_system.h"
#include "tessaly_dlg.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tessaly::CHostSystem system;
    tessaly::CTessalyDlg dlg(system);
    dlg.exec();
    return 0;
}
