#include <testmain.h>

#include <terminalhost/uiresource.h>

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

namespace {
// The classes the module exports to a terminal; nothing else may be reachable from outside.
const QSet<QString> kExportedClasses = {
    QStringLiteral("CStatusBar"),
    QStringLiteral("CItemBaseWidget"),
    QStringLiteral("CTradeWidget"),
    QStringLiteral("CQuoteWidget"),
    QStringLiteral("CClientFeedBackWidget"),
    QStringLiteral("CMemAnalysisDialog"),
    QStringLiteral("CObjectNumMonitorDialog"),
    QStringLiteral("CPerformMonitorDialog"),
    QStringLiteral("CQuoterAnalysisDialog"),
};
constexpr int kBarHeight = 24;
constexpr int kLeadingGapX = 5; // px; inside the margin and the gap before the first item
constexpr int kCommandTimeoutMs = 240000;

struct CommandResult {
    bool ok = false;
    QString output;
};

CommandResult run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(kCommandTimeoutMs);
    CommandResult result;
    result.output = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QLatin1Char('\n')
        + QString::fromLocal8Bit(process.readAll());
    result.ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return result;
}

// Class names of the functions and data the library defines for its users ("CStatusBar" of
// "CStatusBar::request()"; thunks and vtables count for their class).
QSet<QString> exportedClassesOf(const QString& library, QString* error)
{
    const CommandResult nm = run(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"), QStringLiteral("-C"), library});
    if (!nm.ok) {
        *error = nm.output;
        return {};
    }
    static const QRegularExpression owner(QStringLiteral("^[0-9a-f]+ [TVWDBR] (?:non-virtual thunk to |vtable for |typeinfo for |typeinfo name for )?([A-Za-z_][A-Za-z0-9_]*)::"));
    QSet<QString> classes;
    for (const QString& line : nm.output.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = owner.match(line);
        if (match.hasMatch())
            classes.insert(match.captured(1));
    }
    return classes;
}

// Every class the module's own headers declare, exported or not.
QSet<QString> classesOfTheModule()
{
    static const QRegularExpression declaration(QStringLiteral("^(?:class|struct) (?:STATUSBAR_EXPORT )?([A-Za-z_][A-Za-z0-9_]*)\\b[^;]*$"),
                                                QRegularExpression::MultilineOption);
    QSet<QString> classes;
    for (const char* folder : {"statusbar", "items", "diagnostics"}) {
        QDirIterator it(QStringLiteral(STATUSBAR_SOURCE_DIR "/") + QLatin1String(folder), {QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile header(it.next());
            if (!header.open(QIODevice::ReadOnly))
                continue;
            auto matches = declaration.globalMatch(QString::fromUtf8(header.readAll()));
            while (matches.hasNext())
                classes.insert(matches.next().captured(1));
        }
    }
    return classes;
}

bool sameColor(QRgb pixel, const QColor& expected)
{
    return qAbs(qRed(pixel) - expected.red()) <= 2 && qAbs(qGreen(pixel) - expected.green()) <= 2
        && qAbs(qBlue(pixel) - expected.blue()) <= 2;
}
}

class TestPackage : public QObject
{
    Q_OBJECT
private slots:
    void libraryExportsExactlyThePublicClasses()
    {
        QString error;
        const QSet<QString> classes = exportedClassesOf(QStringLiteral(STATUSBAR_LIBRARY), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QSet<QString> moduleClasses = classesOfTheModule();
        QVERIFY2(moduleClasses.contains(QStringLiteral("CRunningOrdersWidget")) && moduleClasses.contains(QStringLiteral("ToolTipWidget")),
                 "the header scan missed the module's internal classes");
        QStringList reachable = (classes & moduleClasses).values();
        QStringList expected = kExportedClasses.values();
        reachable.sort();
        expected.sort();
        QCOMPARE(reachable, expected);
    }

    void readmeShowsTheExampleLinesExactly()
    {
        QFile readme(QStringLiteral(STATUSBAR_SOURCE_DIR "/README.md"));
        QFile example(QStringLiteral(STATUSBAR_SOURCE_DIR "/examples/embed/CMakeLists.txt"));
        QVERIFY(readme.open(QIODevice::ReadOnly) && example.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const int section = text.indexOf(QStringLiteral("## Embedding with CMake"));
        QVERIFY2(section >= 0, "README has no \"Embedding with CMake\" section");
        const int blockStart = text.indexOf(QStringLiteral("```cmake\n"), section);
        const int blockEnd = text.indexOf(QStringLiteral("```"), blockStart + 8);
        QVERIFY2(blockStart >= 0 && blockEnd > blockStart, "no cmake block in the embedding section");
        const QStringList exampleLines = QString::fromUtf8(example.readAll()).split(QLatin1Char('\n'));
        const QStringList shown = text.mid(blockStart + 9, blockEnd - blockStart - 9).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!shown.isEmpty());
        for (const QString& line : shown)
            QVERIFY2(exampleLines.contains(line), qPrintable(QStringLiteral("README line not in the example: ") + line));
    }

    void exampleBuildsAgainstTheInstalledPackageAndShowsTheBar()
    {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString prefix = work.filePath(QStringLiteral("prefix"));
        const QString exampleBuild = work.filePath(QStringLiteral("embed-build"));
        const QString cmake = QStringLiteral(STATUSBAR_CMAKE);

        CommandResult step = run(cmake, {QStringLiteral("--install"), QStringLiteral(STATUSBAR_BINARY_DIR), QStringLiteral("--prefix"), prefix});
        QVERIFY2(step.ok, qPrintable(step.output));
        QVERIFY2(QFile::exists(prefix + QStringLiteral("/include/statusbar/statusbar.h")), "public header not installed under its prefix");
        QVERIFY2(!QFile::exists(prefix + QStringLiteral("/include/statusbar/runningorderswidget.h")), "an internal header was installed");
        QVERIFY2(!QFile::exists(prefix + QStringLiteral("/include/config.h")), "a flat header reached the include folder");
#ifdef STATUSBAR_WITH_COMPANIONS
        // The terminal looks for its companion programs beside its own executable.
        for (const QString& program : {QStringLiteral("minitrade-client"), QStringLiteral("miniquote-client")}) {
            step = run(prefix + QStringLiteral("/bin/") + program, {QStringLiteral("--help")});
            QVERIFY2(step.ok, qPrintable(step.output));
        }
#endif

        step = run(cmake, {QStringLiteral("-S"), QStringLiteral(STATUSBAR_SOURCE_DIR "/examples/embed"), QStringLiteral("-B"), exampleBuild,
                           QStringLiteral("-DCMAKE_PREFIX_PATH=") + prefix});
        QVERIFY2(step.ok, qPrintable(step.output));
        step = run(cmake, {QStringLiteral("--build"), exampleBuild});
        QVERIFY2(step.ok, qPrintable(step.output));

        const QString shot = work.filePath(QStringLiteral("embed.png"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
#if defined(__SANITIZE_ADDRESS__)
        // The package of an address build hands the sanitizer's flags on, so the example links its
        // runtime and runs checked. Its leak check is left to the tests in this tree, whose programs
        // keep Qt's plugins loaded to the end (cmake/keepmodulesloaded.cpp); the example, built as
        // any terminal would build it, unloads them and would report their globals as leaks.
        environment.insert(QStringLiteral("ASAN_OPTIONS"), environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
#endif
        step = run(exampleBuild + QStringLiteral("/embed-terminal"), {shot}, environment);
        QVERIFY2(step.ok, qPrintable(step.output));
        QImage image(shot);
        QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("no screenshot at ") + shot));

        // The bar runs along the bottom: its top line in the border colour, its body in the bar's
        // background, with the clock's text drawn at the right-hand end.
        const CUiResource* resource = CUiResource::instance();
        const int top = image.height() - kBarHeight;
        QVERIFY2(sameColor(image.pixel(image.width() / 2, top), resource->getColor(QStringLiteral("clr_border_default"))),
                 "no top border where the bar should start");
        // The row begins with a gap before its first item; the tickers fill the middle.
        QVERIFY2(sameColor(image.pixel(kLeadingGapX, top + kBarHeight / 2), resource->getColor(QStringLiteral("clr_main_statusbar_background"))),
                 "no bar background at the start of the bottom row");
        const QColor background = resource->getColor(QStringLiteral("clr_main_statusbar_background"));
        int drawn = 0;
        for (int x = image.width() - 120; x < image.width(); ++x) {
            for (int y = top + 2; y < image.height() - 2; ++y)
                drawn += sameColor(image.pixel(x, y), background) ? 0 : 1;
        }
        QVERIFY2(drawn > 50, "nothing drawn where the clock should be");
    }
};

STATUSBAR_TEST_MAIN(TestPackage)
#include "tst_package.moc"
