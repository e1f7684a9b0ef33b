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
#include <QHash>
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

// The CJK font draws an ideograph and its Kangxi radical look-alike with one glyph, and the PDF
// writer names such a glyph by the lower code point, the radical: the text layer would read
// "使⽤" for "使用", and a search for the word would miss it. Rewrites the target code points of
// the text maps to the ideographs they stand for. Each is four hexadecimal digits before and
// after, so no length or offset in the file changes.
bool MapRadicalsToIdeographs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QByteArray pdf = file.readAll();
    file.close();
    // The supplement's simplified radicals have no decomposition in Unicode; these are the
    // ideographs they stand for (the names match: "C-SIMPLIFIED SEE" is 见).
    static const QHash<uint, uint> kSupplement = {
        {0x2EA0, 0x6C11}, {0x2EC5, 0x89C1}, {0x2EC6, 0x89D2}, {0x2EC8, 0x8BA0}, {0x2EC9, 0x8D1D},
        {0x2ECB, 0x8F66}, {0x2ED0, 0x9485}, {0x2ED3, 0x957F}, {0x2ED4, 0x95E8}, {0x2ED8, 0x9752},
        {0x2EDA, 0x9875}, {0x2EDB, 0x98CE}, {0x2EDC, 0x98DE}, {0x2EDD, 0x98DF}, {0x2EE0, 0x9963},
        {0x2EE2, 0x9A6C}, {0x2EE3, 0x9AA8}, {0x2EE4, 0x9B3C}, {0x2EE5, 0x9C7C}, {0x2EE6, 0x9E1F},
        {0x2EE7, 0x5364}, {0x2EE8, 0x9EA6}, {0x2EE9, 0x9EC4}, {0x2EEA, 0x9EFE}, {0x2EEC, 0x9F50},
        {0x2EF0, 0x9F99}};
    const auto ideographOf = [](uint code) -> uint {
        if (code < 0x2E80 || code > 0x2FDF) {
            return code;
        }
        if (const auto it = kSupplement.constFind(code); it != kSupplement.cend()) {
            return it.value();
        }
        const QString decomposed = QChar(static_cast<char16_t>(code)).decomposition();
        return decomposed.size() == 1 ? decomposed.at(0).unicode() : code;
    };
    qsizetype at = 0;
    int changed = 0;
    while ((at = pdf.indexOf("begincmap", at)) >= 0) {
        const qsizetype end = pdf.indexOf("endcmap", at);
        if (end < 0) {
            break;
        }
        // Line by line: "<from> <to> [<code> ...]" in ranges, "<glyph> <code>" in single maps;
        // only the codes after the glyph numbers are text.
        bool ranges = false;
        bool singles = false;
        qsizetype line = at;
        while (line < end) {
            qsizetype next = pdf.indexOf('\n', line);
            next = next < 0 || next > end ? end : next;
            const QByteArray text = pdf.mid(line, next - line);
            if (text.endsWith("beginbfrange")) {
                ranges = true;
            } else if (text.endsWith("beginbfchar")) {
                singles = true;
            } else if (text.startsWith("endbf")) {
                ranges = singles = false;
            } else if (ranges || singles) {
                int token = 0;
                for (qsizetype i = line; i + 6 <= next; ++i) {
                    if (pdf[i] != '<') {
                        continue;
                    }
                    const qsizetype close = pdf.indexOf('>', i);
                    if (close < 0 || close > next) {
                        break;
                    }
                    ++token;
                    if (close - i == 5 && token > (ranges ? 2 : 1)) {
                        bool ok = false;
                        const uint code = pdf.mid(i + 1, 4).toUInt(&ok, 16);
                        const uint ideograph = ok ? ideographOf(code) : code;
                        if (ideograph != code) {
                            pdf.replace(
                                i + 1, 4,
                                QByteArray::number(ideograph, 16).toUpper().rightJustified(4, '0'));
                            ++changed;
                        }
                    }
                    i = close;
                }
            }
            line = next + 1;
        }
        at = end;
    }
    if (changed == 0) {
        return true;
    }
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(pdf) == pdf.size();
}

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
    const QString html =
        ReadText(QString::fromLocal8Bit(argv[1]))
            .replace(QStringLiteral("@SOMATRIX_VERSION@"), QStringLiteral(SOMATRIX_VERSION));
    if (html.isEmpty()) {
        std::fprintf(stderr, "somatrix_make_manual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    const QString programFolder = QString::fromLocal8Bit(argv[3]);

    // Latin letters and digits from a TrueType font first: the CJK font shapes digits next to
    // letters into alternate glyphs that its character map does not name, and the PDF's text
    // layer would lose them ("V1.2.2" read as "V . .").
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
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
    if (!MapRadicalsToIdeographs(partial)) {
        std::fprintf(stderr, "somatrix_make_manual: cannot rewrite %s\n", qPrintable(partial));
        return 1;
    }
    // Replaced only once whole, so an interrupted build never leaves half a manual.
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "somatrix_make_manual: cannot write %s\n", argv[2]);
        return 1;
    }
    return shots.size() == 7 ? 0 : 1;
}
