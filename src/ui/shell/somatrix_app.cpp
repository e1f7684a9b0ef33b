#include "ui/shell/somatrix_app.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QSettings>
#include <QTranslator>
#include <cstdio>

#include "platform/program_folder.h"
#include "protocol/catalogue.h"
#include "sim_options.h"
#include "ui/monitor/device_access.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/shell/app_look.h"
#include "ui/shell/command_ids.h"
#include "ui/shell/main_frame.h"

namespace somatrix {

namespace {

// Options of the simulator that take a value and are accepted after --demo.
const char* const kSimValueOptions[] = {
    "--sensors", "--seed",  "--latency",    "--slow", "--silent",  "--device",
    "--date",    "--stray", "--bit-errors", "--drop", "--garbage", "--disconnect-after",
    "--corrupt", "--junk",  "--lose",       "--stall"};

bool IsSimValueOption(const QString& arg) {
    for (const char* option : kSimValueOptions) {
        if (arg == QLatin1String(option)) {
            return true;
        }
    }
    return false;
}

// Room for the operation panel and the explanation panel side by side.
constexpr int kInitialWidth = 1366;
constexpr int kInitialHeight = 860;

}  // namespace

QString StartUsage() {
    return QString::fromUtf8(
               "usage: somatrix [FILE]\n"
               "       somatrix --demo [--sensors CE,C9,...|all] [--seed N] [simulator faults] "
               "[FILE]\n"
               "\n"
               "  FILE        a review file (.dat, .eeg) or an EDF+ recording (.edf) opened in\n"
               "              review mode\n"
               "  --demo      simulated sensors on the port \"SIM\" (all fourteen by default)\n"
               "  --sensors   the simulated sensors, comma-separated type codes\n"
               "  --seed N    the simulated subject\n"
               "  faults      --stray P, --bit-errors P, --drop P, --garbage MS[:N],\n"
               "              --disconnect-after MS, --slow TT[:MS], --silent TT, --latency MS,\n"
               "              --corrupt P, --junk P, --lose P, --stall P[:MS]\n"
               "\n"
               "Unattended runs:\n"
               "  --measure TT        scan, select sensor TT (hexadecimal type code) and start\n"
               "  --screenshot FILE   write a picture of the window to FILE before quitting\n"
               "  --quit-after S      close the window S seconds after start-up (with --measure:\n"
               "                      after Start, or at once when the sensor is not found)\n"
               "  --unplug-after S    pull the simulated cable S seconds after Start; the sensors\n"
               "                      come back 3 s later on the next port name (SIM2, ...)\n"
               "  --record-edf        with --measure: record the waveform into the Data folder "
               "(EDF+)\n"
               "  --stats             print CPU time, paints per second, the delay from arrival "
               "to\n"
               "                      paint and the longest stall during the scan when quitting\n"
               "\n"
               "Sensor type codes (--sensors, --measure):\n") +
           QString::fromStdString(SensorCodeList());
}

bool ParseStartOptions(const QStringList& args, CStartOptions& options, QString& error) {
    options = CStartOptions{};
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--demo")) {
            options.m_bDemo = true;
        } else if (arg == QLatin1String("--stats")) {
            options.m_script.m_bStats = true;
        } else if (arg == QLatin1String("--record-edf")) {
            options.m_script.m_bRecordEdf = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            options.m_bHelp = true;
        } else if (arg == QLatin1String("--measure") || arg == QLatin1String("--screenshot") ||
                   arg == QLatin1String("--quit-after") || arg == QLatin1String("--unplug-after")) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("missing value after %1").arg(arg);
                return false;
            }
            const QString value = args[++i];
            bool ok = true;
            if (arg == QLatin1String("--measure")) {
                const int code = value.toInt(&ok, 16);
                ok = ok && code >= 0 && code <= 0xFF;
                options.m_script.m_nMeasureType = code;
            } else if (arg == QLatin1String("--screenshot")) {
                ok = !value.isEmpty();
                options.m_script.m_strScreenshot = value;
            } else {
                const double seconds = value.toDouble(&ok);
                ok = ok && seconds >= 0 && seconds <= 86400;
                (arg == QLatin1String("--quit-after") ? options.m_script.m_nQuitAfterMs
                                                      : options.m_script.m_nUnplugAfterMs) =
                    static_cast<int>(seconds * 1000);
            }
            if (!ok) {
                error = QStringLiteral("bad value for %1: %2").arg(arg, value);
                return false;
            }
        } else if (IsSimValueOption(arg)) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("missing value after %1").arg(arg);
                return false;
            }
            options.m_simArgs.push_back(arg.toStdString());
            options.m_simArgs.push_back(args[++i].toStdString());
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            error = QStringLiteral("unknown option %1").arg(arg);
            return false;
        } else if (options.m_strFile.isEmpty()) {
            options.m_strFile = arg;
        } else {
            error = QStringLiteral("more than one file: %1").arg(arg);
            return false;
        }
    }
    if (!options.m_simArgs.empty() && !options.m_bDemo) {
        error = QStringLiteral("%1 needs --demo").arg(QString::fromStdString(options.m_simArgs[0]));
        return false;
    }
    return true;
}

CSomatrixApp::CSomatrixApp(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(QString::fromUtf8(kRegistryKey));
    setApplicationName(QStringLiteral("Somatrix"));
    setApplicationDisplayName(QStringLiteral("Somatrix"));
    // Every text of the program is Chinese, so the toolkit's own (the buttons of message boxes
    // and file dialogs, the reasons a file or a serial port could not be opened) are too,
    // whatever the desktop's language; English when not installed.
    for (const char* catalogue : {"qtbase_zh_CN", "qtserialport_zh_CN"}) {
        auto* translator = new QTranslator(this);
        if (translator->load(QLatin1String(catalogue),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            installTranslator(translator);
        } else {
            delete translator;
        }
    }
}

CSomatrixApp::~CSomatrixApp() {
    // The frame's panel still talks to the devices while it closes.
    m_pDriver.reset();
    m_pFrame.reset();
    m_pDevices.reset();
}

void CSomatrixApp::LoadStdProfileSettings() {
    QSettings settings;
    m_nAppLook = settings.value(QStringLiteral("ApplicationLook"), ids::kDefaultLook).toInt();
    if (m_nAppLook < ids::kLookFirst || m_nAppLook > ids::kLookLast) {
        m_nAppLook = ids::kDefaultLook;
    }
    m_recentFiles.clear();
    settings.beginGroup(QStringLiteral("Recent File List"));
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty()) {
            m_recentFiles << file;
        }
    }
    settings.endGroup();
}

void CSomatrixApp::SetAppLook(int look) {
    m_nAppLook = look;
    QSettings().setValue(QStringLiteral("ApplicationLook"), look);
}

bool CSomatrixApp::CreateDevices() {
    if (!m_options.m_bDemo) {
        m_pDevices = std::make_unique<CSystemDevices>();
        return true;
    }
    std::vector<const char*> argv = {"somatrix"};
    for (const std::string& arg : m_options.m_simArgs) {
        argv.push_back(arg.c_str());
    }
    CSimOptions sim;
    std::string error;
    if (!ParseSimOptions(static_cast<int>(argv.size()), argv.data(), sim, error)) {
        std::fprintf(stderr, "somatrix: %s\n", error.c_str());  // with the codes where they matter
        m_nExitCode = 2;
        return false;
    }
    auto demo = std::make_unique<CDemoDevices>(BuildSimBus(sim));
    demo->SetBusFactory([sim] { return BuildSimBus(sim); });
    m_pDevices = std::move(demo);
    return true;
}

bool CSomatrixApp::InitInstance() {
    QString error;
    if (!ParseStartOptions(arguments(), m_options, error)) {
        std::fprintf(stderr, "somatrix: %s\n%s", error.toLocal8Bit().data(),
                     StartUsage().toLocal8Bit().data());
        m_nExitCode = 2;
        return false;
    }
    if (m_options.m_bHelp) {
        std::fputs(StartUsage().toLocal8Bit().data(), stdout);
        m_nExitCode = 0;
        return false;
    }
    LoadStdProfileSettings();
    if (!CreateDevices()) {
        return false;
    }

    m_pFrame =
        std::make_unique<CMainFrame>(*m_pDevices, QString::fromStdString(GetProgramFolder()));
    m_nAppLook = CurrentApplicationLook();
    connect(m_pFrame.get(), &CMainFrame::LookChanged, this,
            [this](int look) { m_nAppLook = look; });
    QSize size(kInitialWidth, kInitialHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize());
    }
    m_pFrame->resize(size);
    m_pFrame->setWindowTitle(QStringLiteral("组合式电生理传感器采集程序"));
    m_pFrame->show();

    if (!m_options.m_strFile.isEmpty()) {
        m_pFrame->View()->OpenReviewFile(m_options.m_strFile);
    }
    m_pDriver = std::make_unique<CDemoDriver>(*m_pFrame, m_options.m_script, *m_pDevices);
    m_pDriver->Start();
    return true;
}

}  // namespace somatrix
