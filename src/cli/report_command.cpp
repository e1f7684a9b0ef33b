// somatrix-cli report: the printed worksheet of a recording as a PDF, without a window. Painting
// text needs a Qt GUI application; it runs on the offscreen platform, so no display is needed.
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "analysis/source_beats.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "report/worksheet_source.h"
#include "review/source_load.h"

namespace somatrix::cli {

int RunReport(const std::vector<std::string>& args) {
    CArgReader reader(args);
    std::string input;
    std::string output;
    CWorksheetFields fields;
    while (!reader.AtEnd()) {
        const std::string& arg = reader.Next();
        if (arg == "-o") {
            output = reader.Value(arg);
        } else if (arg == "--name") {
            fields.m_strStudent = QString::fromStdString(reader.Value(arg));
        } else if (arg == "--class") {
            fields.m_strClass = QString::fromStdString(reader.Value(arg));
        } else if (arg == "--date") {
            fields.m_strDate = QString::fromStdString(reader.Value(arg));
        } else if (input.empty() && !arg.empty() && arg[0] != '-') {
            input = arg;
        } else {
            throw CUsageError("unexpected argument '" + arg + "'");
        }
    }
    if (input.empty() || output.empty()) {
        throw CUsageError("report takes FILE -o OUT.pdf");
    }
    CReviewSource source;
    const CSourceLoadOutcome outcome = LoadReviewSource(input, source);
    if (outcome.m_result != ESourceLoad::kLoaded || source.Empty()) {
        const std::string why = outcome.m_strError.empty() ? "not a recording" : outcome.m_strError;
        throw CUsageError(input + ": " + why);
    }
    // The command shows no window: the offscreen platform serves wherever it runs.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "somatrix-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const std::vector<double> beats = SourceBeats(source);
    const CWorksheetRecording page =
        WorksheetOfSource(source, QFile::decodeName(input.c_str()), beats);
    QString error;
    if (!WriteWorksheetPdf(QFile::decodeName(output.c_str()), fields, {&page}, &error)) {
        std::fprintf(stderr, "somatrix-cli report: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("report %s pages 1\n", output.c_str());
    return 0;
}

}  // namespace somatrix::cli
