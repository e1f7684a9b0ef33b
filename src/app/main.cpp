// somatrix: the acquisition program's window.
#include <cstdio>

#include "ui/shell/somatrix_app.h"

int main(int argc, char** argv) {
    // Help and a malformed command line are answered before the window system is asked for, so
    // they work on a terminal without a display too.
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    somatrix::CStartOptions options;
    QString error;
    if (!somatrix::ParseStartOptions(args, options, error)) {
        std::fprintf(stderr, "somatrix: %s\n%s", error.toLocal8Bit().data(),
                     somatrix::StartUsage().toLocal8Bit().data());
        return 2;
    }
    if (options.m_bHelp) {
        std::fputs(somatrix::StartUsage().toLocal8Bit().data(), stdout);
        return 0;
    }

    somatrix::CSomatrixApp app(argc, argv);
    if (!app.InitInstance()) {
        return app.ExitCode();
    }
    return app.exec();
}
