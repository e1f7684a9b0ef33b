#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Runs a program; its exit status, with what it printed in `output`.
int Run(const QString& program, const QStringList& args, QString* output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(120000)) {
        return -1;
    }
    if (output) {
        *output = QString::fromUtf8(process.readAll());
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class CInstallTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_prefix;
    QString Path(const QString& relative) const { return m_prefix.filePath(relative); }

private slots:
    void initTestCase() {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // for the installed program's --help
        QString output;
        const int status = Run(QStringLiteral("cmake"),
                               {QStringLiteral("--install"), QStringLiteral(SOMATRIX_BINARY_DIR),
                                QStringLiteral("--prefix"), m_prefix.path()},
                               &output);
        QVERIFY2(status == 0, qPrintable(output));
    }

    void everyFileInPlace() {
        const QStringList files = {
            "lib/somatrix/somatrix",
            "lib/somatrix/somatrix-cli",
            "lib/somatrix/Somatrix.ini",
            "lib/somatrix/JPG/公司.jpg",
            "lib/somatrix/JPG/心电传感器.jpg",
            "lib/somatrix/Document/医用传感器组合_规格书.pdf",
            "share/applications/org.somatrix.Somatrix.desktop",
            "share/metainfo/org.somatrix.Somatrix.metainfo.xml",
            "share/mime/packages/somatrix.xml",
            "share/icons/hicolor/48x48/apps/somatrix.png",
            "share/icons/hicolor/256x256/apps/somatrix.png",
            "share/icons/hicolor/scalable/apps/somatrix.svg",
        };
        for (const QString& file : files) {
            QVERIFY2(QFileInfo(Path(file)).isFile(), qPrintable(file));
        }
        QVERIFY(QFileInfo(Path("lib/somatrix/somatrix")).isExecutable());
        // The manual is a PDF.
        QFile manual(Path("lib/somatrix/Document/医用传感器组合_规格书.pdf"));
        QVERIFY(manual.open(QIODevice::ReadOnly));
        QCOMPARE(manual.read(5), QByteArray("%PDF-"));
        // bin/somatrix leads to the program folder, where the program finds its files.
        const QFileInfo link(Path("bin/somatrix"));
        QVERIFY(link.isSymLink());
        QCOMPARE(link.canonicalFilePath(),
                 QFileInfo(Path("lib/somatrix/somatrix")).canonicalFilePath());
        QString output;
        QCOMPARE(Run(Path("bin/somatrix"), {QStringLiteral("--help")}, &output), 0);
        QVERIFY(output.contains(QStringLiteral("usage: somatrix")));
        // The shop key is there for the deployment to fill in.
        QFile ini(Path("lib/somatrix/Somatrix.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray text = ini.readAll();
        QVERIFY(text.contains("[Setting]"));
        QVERIFY(text.contains("\nShop="));
    }

    void desktopEntryAndMetadataValidate() {
        const QString desktop = Path("share/applications/org.somatrix.Somatrix.desktop");
        QString output;
        if (QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
            QSKIP("desktop-file-validate is not installed");
        }
        QCOMPARE(Run(QStringLiteral("desktop-file-validate"), {desktop}, &output), 0);
        QVERIFY2(output.trimmed().isEmpty(), qPrintable(output));
        QFile entry(desktop);
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray text = entry.readAll();
        QVERIFY(text.contains("\nExec=somatrix %f\n"));
        QVERIFY(text.contains("\nIcon=somatrix\n"));
        QVERIFY(text.contains("\nMimeType=application/x-somatrix-review;\n"));

        if (QStandardPaths::findExecutable(QStringLiteral("appstreamcli")).isEmpty()) {
            QSKIP("appstreamcli is not installed");
        }
        const int status = Run(QStringLiteral("appstreamcli"),
                               {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                Path("share/metainfo/org.somatrix.Somatrix.metainfo.xml")},
                               &output);
        QVERIFY2(status == 0, qPrintable(output));
    }

    void manualTextCanBeSearchedAndCopied() {
        const QString manual = Path("lib/somatrix/Document/医用传感器组合_规格书.pdf");
        QString fonts;
        QCOMPARE(Run(QStringLiteral("pdffonts"), {manual}, &fonts), 0);
        const QStringList rows = fonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
        QVERIFY(!rows.isEmpty());
        for (const QString& row : rows) {
            // Columns: name, type (one or two words), encoding, emb, sub, uni, object, generation.
            const QStringList cells = row.simplified().split(QLatin1Char(' '));
            QVERIFY2(cells.size() >= 7 && cells[cells.size() - 5] == QStringLiteral("yes") &&
                         cells[cells.size() - 3] == QStringLiteral("yes"),
                     qPrintable(row));
        }
        QString text;
        QCOMPARE(Run(QStringLiteral("pdftotext"), {manual, QStringLiteral("-")}, &text), 0);
        for (const char* words :
             {"Somatrix V1.2.2 使用说明", "CP210x", "EEG1TM", "115200", "/usr/lib/somatrix"}) {
            QVERIFY2(text.contains(QString::fromUtf8(words)), words);
        }
        // Ideographs read as themselves, not as the radicals that share their glyphs.
        for (const QChar c : text) {
            QVERIFY2(c.unicode() < 0x2E80 || c.unicode() > 0x2FDF,
                     qPrintable(QString::number(c.unicode(), 16)));
        }
    }

    void oneVersionEverywhere() {
        QFile metainfo(Path("share/metainfo/org.somatrix.Somatrix.metainfo.xml"));
        QVERIFY(metainfo.open(QIODevice::ReadOnly));
        QVERIFY(metainfo.readAll().contains("<release version=\"1.2.2\""));
        QFile package(QStringLiteral(SOMATRIX_BINARY_DIR "/CPackConfig.cmake"));
        QVERIFY(package.open(QIODevice::ReadOnly));
        QVERIFY(package.readAll().contains("set(CPACK_PACKAGE_VERSION \"1.2.2\")"));
    }

    void reviewFilesRecognisedByTheirMagic() {
        // The installed type, as the desktop's file managers see it.
        qputenv("XDG_DATA_DIRS", (Path("share") + QStringLiteral(":/usr/share")).toUtf8());
        QTemporaryDir files;
        WriteFile(files.filePath("one.dat"), QByteArray("EEG1TM") + QByteArray(200, '\x10'));
        WriteFile(files.filePath("two"), QByteArray("EEG2TM") + QByteArray(200, '\x10'));
        WriteFile(files.filePath("other.dat"), QByteArray("EEG3TM") + QByteArray(200, '\x10'));
        QMimeDatabase mime;
        QCOMPARE(mime.mimeTypeForFile(files.filePath("one.dat")).name(),
                 QStringLiteral("application/x-somatrix-review"));
        QCOMPARE(mime.mimeTypeForFile(files.filePath("two")).name(),
                 QStringLiteral("application/x-somatrix-review"));
        QVERIFY(mime.mimeTypeForFile(files.filePath("other.dat")).name() !=
                QStringLiteral("application/x-somatrix-review"));
    }
};

QTEST_GUILESS_MAIN(CInstallTest)
#include "install_test.moc"
