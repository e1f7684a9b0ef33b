// somatrix: the acquisition program's window.
#include <QApplication>
#include <cstdio>

#include "platform/termination_watch.h"
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
    // Logging out or a plain `kill` closes the windows as the operator would, so a log and a
    // waveform recording end whole.
    const somatrix::CTerminationWatch watch([] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
    return app.exec();
}
