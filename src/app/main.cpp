// somatrix: the acquisition program's window.
#include "ui/shell/somatrix_app.h"

int main(int argc, char** argv) {
    somatrix::CSomatrixApp app(argc, argv);
    if (!app.InitInstance()) {
        return app.ExitCode();
    }
    return app.exec();
}
