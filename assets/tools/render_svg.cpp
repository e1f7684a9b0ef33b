// Build-time tool: renders one SVG drawing into one or more raster files.
//
//   render_svg INPUT.svg OUTPUT WIDTH HEIGHT [OUTPUT WIDTH HEIGHT ...]
//
// The format follows each output's extension. JPEG has no transparency, so JPEG outputs are
// drawn over white; PNG keeps the drawing's transparency. Writes to a temporary file first, so
// an interrupted build never leaves a truncated picture under the final name.
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <cstdio>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "render_svg: %s\n", qPrintable(message));
    return 1;
}

bool Render(QSvgRenderer& renderer, const QString& output, int width, int height) {
    const QString suffix = QFileInfo(output).suffix().toLower();
    const bool jpeg = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
    QImage image(width, height, jpeg ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(jpeg ? Qt::white : Qt::transparent);
    // 96 dpi, the resolution the program assumes for pictures that store none.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                               QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (!image.save(&file, jpeg ? "JPG" : "PNG", jpeg ? 92 : -1)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

int main(int argc, char** argv) {
    // Text in the drawings needs the font database, which needs a GUI application; no display
    // is needed to draw into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5 || (args.size() - 2) % 3 != 0) {
        return Fail(QStringLiteral("usage: render_svg INPUT.svg OUTPUT WIDTH HEIGHT [...]"));
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        return Fail(QStringLiteral("cannot read %1").arg(args.at(1)));
    }
    for (qsizetype i = 2; i + 2 < args.size(); i += 3) {
        bool okWidth = false;
        bool okHeight = false;
        const int width = args.at(i + 1).toInt(&okWidth);
        const int height = args.at(i + 2).toInt(&okHeight);
        if (!okWidth || !okHeight || width <= 0 || height <= 0 || width > 8192 || height > 8192) {
            return Fail(QStringLiteral("bad size %1 x %2").arg(args.at(i + 1), args.at(i + 2)));
        }
        if (!Render(renderer, args.at(i), width, height)) {
            return Fail(QStringLiteral("cannot write %1").arg(args.at(i)));
        }
    }
    return 0;
}
