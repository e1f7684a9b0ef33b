// Builds the user manual at build time: shows the program's real windows offscreen on simulated
// sensors (a virtual clock, so every run gives the same pictures), takes screenshots of them, puts
// them into the manual's HTML and prints the result to PDF.
//
// usage: somatrix_make_manual MANUAL.html OUTPUT.pdf PROGRAM_FOLDER/
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QMap>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>
#include <memory>

#include "review_writer.h"
#include "sim_bus.h"
#include "sim_clock.h"
#include "ui/monitor/device_access.h"
#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/shell/app_look.h"
#include "ui/shell/command_toolbar.h"
#include "ui/shell/dlg_customize.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/message_box.h"

using namespace somatrix;

namespace {

constexpr const char* kStyleSheet =
    "body { font-size: 10pt; }"
    "h1 { font-size: 22pt; color: #15428b; margin-top: 40px; }"
    "h2 { font-size: 15pt; color: #15428b; margin-top: 18px; }"
    "h3 { font-size: 12pt; color: #15428b; }"
    "p.subtitle { font-size: 13pt; }"
    "p.caption { font-size: 9pt; color: #444444; }"
    "th { background-color: #dbe5f1; }"
    "pre, tt { font-family: monospace; }";

class CShooter {
public:
    CShooter(const QString& programFolder) {
        auto bus = std::make_unique<CSimBus>(7);
        bus->AddAllSensors();
        m_pDevices = std::make_unique<CDemoDevices>(std::move(bus), &m_clock);
        m_pFrame = std::make_unique<CMainFrame>(*m_pDevices, programFolder);
        m_pFrame->Panel()->Core().SetLogFolder(m_logs.path().toStdString());
        m_pFrame->resize(1200, 760);
        m_pFrame->show();
        Settle();
    }
    ~CShooter() {
        m_pFrame.reset();
        m_pDevices.reset();
    }

    // Every picture the manual names, by its "shot:" name.
    QMap<QString, QImage> TakeAll() {
        QMap<QString, QImage> shots;
        shots[QStringLiteral("frame")] = Grab(m_pFrame.get());
        shots[QStringLiteral("toolbar")] = Grab(m_pFrame->ToolBar());

        Scan();
        Select(0xCE);
        Settle();
        shots[QStringLiteral("scanned")] = Grab(m_pFrame.get());

        Click(CDlgOper::kIdStart);
        Run(6000);
        shots[QStringLiteral("measuring")] = Grab(m_pFrame.get());

        ApplyApplicationLook(216);
        Run(500);
        shots[QStringLiteral("look_black")] = Grab(m_pFrame.get());
        ApplyApplicationLook(214);
        Click(CDlgOper::kIdStop);
        Run(500);

        {
            CDlgCustomize customize(*m_pFrame->ToolBar(), m_pFrame.get());
            customize.show();
            Settle();
            shots[QStringLiteral("customize")] = Grab(&customize);
        }

        const QString review = m_logs.filePath(QStringLiteral("review.dat"));
        CReviewOptions options;
        options.m_nMinutes = 2;
        options.m_nSegments = 2;
        options.m_nStartTime = 1765267200;  // 2025-12-09 08:00 UTC
        std::string error;
        if (WriteReviewFile(review.toStdString(), options, error)) {
            m_pFrame->View()->OpenReviewFile(review);
            Settle();
            shots[QStringLiteral("review")] = Grab(m_pFrame.get());
        } else {
            std::fprintf(stderr, "somatrix_make_manual: %s\n", error.c_str());
        }
        return shots;
    }

private:
    static void Settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
        }
    }
    static QImage Grab(QWidget* widget) {
        Settle();
        return widget->grab().toImage();
    }
    // `ms` of simulated time, delivered to the panel as the pump timer would.
    void Run(int ms) {
        for (int t = 0; t < ms; t += 10) {
            m_clock.AdvanceMs(10);
            m_pDevices->Pump();
            QCoreApplication::processEvents();
        }
    }
    void Click(int id) {
        if (auto* button = qobject_cast<QPushButton*>(m_pFrame->Panel()->Control(id))) {
            button->click();
        }
        Settle();
    }
    void Scan() {
        Click(CDlgOper::kIdScan);
        QElapsedTimer timer;
        timer.start();
        while (m_pFrame->Panel()->IsScanning() && timer.elapsed() < 60000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        Settle();
    }
    void Select(uint8_t type) {
        COperCore& core = m_pFrame->Panel()->Core();
        if (auto* list =
                qobject_cast<QComboBox*>(m_pFrame->Panel()->Control(CDlgOper::kIdDeviceList))) {
            list->setCurrentIndex(core.ListPositionOf(core.GetCatalogue().IndexOfType(type)));
        }
    }

    CVirtualClock m_clock;
    QTemporaryDir m_logs;
    std::unique_ptr<CDemoDevices> m_pDevices;
    std::unique_ptr<CMainFrame> m_pFrame;
};

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The screenshots are taken at twice the pixels, so they stay sharp in print.
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
        qputenv("QT_SCALE_FACTOR", "2");
    }
    // Settings of the build's own, not the user's: the windows appear as on a first start.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: somatrix_make_manual MANUAL.html OUTPUT.pdf PROGRAM_FOLDER/\n");
        return 2;
    }
    QSettings().clear();
    const QString html = ReadText(QString::fromLocal8Bit(argv[1]));
    if (html.isEmpty()) {
        std::fprintf(stderr, "somatrix_make_manual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    const QString programFolder = QString::fromLocal8Bit(argv[3]);

    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(10);
    SetMessageBoxHook([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });

    QMap<QString, QImage> shots;
    {
        CShooter shooter(programFolder);
        shots = shooter.TakeAll();
    }

    QTextDocument document;
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QString::fromLatin1(kStyleSheet));
    for (auto it = shots.cbegin(); it != shots.cend(); ++it) {
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("shot:") + it.key()),
                             it.value());
    }
    document.setHtml(html);

    QDir().mkpath(QFileInfo(output).absolutePath());
    const QString partial = output + QStringLiteral(".part");
    {
        QPdfWriter writer(partial);
        writer.setTitle(QStringLiteral("医用传感器组合_规格书"));
        writer.setCreator(QStringLiteral("Somatrix"));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
        document.print(&writer);
    }
    // Replaced only once whole, so an interrupted build never leaves half a manual.
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "somatrix_make_manual: cannot write %s\n", argv[2]);
        return 1;
    }
    return shots.size() == 7 ? 0 : 1;
}
