#include "resources.h"

#include <QFile>

// The resource lives in a static library, so it has to be pulled in by hand once.
static void InitTessalyResource() {
    Q_INIT_RESOURCE(tessaly);
}

namespace tessaly {

QIcon ProgramIcon() {
    static const bool bLoaded = (InitTessalyResource(), true);
    Q_UNUSED(bLoaded);
    QIcon icon;
    for (int nSize : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/tessaly/tessaly_%1.png").arg(nSize), QSize(nSize, nSize));
    }
    return icon;
}

}  // namespace tessaly
