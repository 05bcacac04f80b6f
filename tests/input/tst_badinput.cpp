#include <testmain.h>

#include <terminalhost/config.h>
#include <terminalhost/logcenter.h>
#include <terminalhost/logconfigfile.h>
#include <terminalhost/uiresource.h>

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {
constexpr int kDemoTimeoutMs = 60000; // generous: the address-checked build starts slowly
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char kConsole[] = "log4j.rootLogger=INFO, console\n"
                        "log4j.appender.console=org.apache.log4j.ConsoleAppender\n"
                        "log4j.appender.console.layout=org.apache.log4j.PatternLayout\n";
const char kPattern[] = "log4j.appender.console.layout.ConversionPattern=%d %-5p %c - %m%n\n";

QByteArray consoleWith(const QByteArray& extra, const QByteArray& pattern = kPattern)
{
    return QByteArray(kConsole) + pattern + extra;
}

QString writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A theme that differs from the built-in dark theme in one section entry.
QByteArray themeWith(const char* section, const QByteArray& entry)
{
    QByteArray theme = R"({"colors": {}, "fonts": {}, "sizes": {}, "images": {}})";
    const QByteArray empty = QByteArray("\"") + section + "\": {}";
    return theme.replace(empty, QByteArray("\"") + section + "\": {" + entry + "}");
}

// The built-in dark theme without one of its colours.
QByteArray darkThemeWithout(const QString& colour)
{
    QFile file(QStringLiteral(":/themes/dark.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the built-in dark theme");
    QJsonObject theme = QJsonDocument::fromJson(file.readAll()).object();
    QJsonObject colours = theme.value(QLatin1String("colors")).toObject();
    colours.remove(colour);
    theme.insert(QLatin1String("colors"), colours);
    return QJsonDocument(theme).toJson();
}

struct DemoRun {
    bool finished = false;
    int exitCode = -1;
    QString errors;
};

DemoRun runDemo(const QStringList& arguments, const QString& unsetVariable)
{
    QProcess demo;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("STATUSBAR_LOG_DIR"), QDir::tempPath());
    environment.remove(unsetVariable);
    demo.setProcessEnvironment(environment);
    demo.start(QStringLiteral(STATUSBAR_DEMO), arguments);
    DemoRun run;
    run.finished = demo.waitForFinished(kDemoTimeoutMs);
    if (!run.finished) {
        demo.kill();
        demo.waitForFinished();
    }
    run.exitCode = demo.exitStatus() == QProcess::NormalExit ? demo.exitCode() : -1;
    run.errors = QString::fromLocal8Bit(demo.readAllStandardError());
    return run;
}
}

class TestBadInput : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void logConfigurationsLog4cxxWouldNotSurviveAreRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        QTest::newRow("variable refers to itself")
            << consoleWith("loop=${loop}x\n", "log4j.appender.console.layout.ConversionPattern=${loop} %m%n\n")
            << QStringLiteral("line 5: variable loop refers to itself");
        QTest::newRow("variables in a circle")
            << consoleWith("a=${b}\nb=${c}\nc=${a}\n", "log4j.appender.console.layout.ConversionPattern=${a} %m%n\n")
            << QStringLiteral("a -> b -> c -> a");
        QTest::newRow("variables that multiply")
            << consoleWith("a0=xxxxxxxxxxxxxxxx\na1=${a0}${a0}${a0}${a0}\na2=${a1}${a1}${a1}${a1}\na3=${a2}${a2}${a2}${a2}\n"
                           "a4=${a3}${a3}${a3}${a3}\na5=${a4}${a4}${a4}${a4}\na6=${a5}${a5}${a5}${a5}\n",
                           "log4j.appender.console.layout.ConversionPattern=${a6}%m\n")
            << QStringLiteral("past 65536 characters or substitutions");
        QByteArray doubling("a0=\n");
        for (int i = 1; i <= 40; ++i)
            doubling += QStringLiteral("a%1=${a%2}${a%2}\n").arg(i).arg(i - 1).toUtf8();
        QTest::newRow("empty variables used ever more often")
            << consoleWith(doubling, "log4j.appender.console.layout.ConversionPattern=${a40}%m\n")
            << QStringLiteral("past 65536 characters or substitutions");
        QTest::newRow("gigantic field width") << consoleWith("", "log4j.appender.console.layout.ConversionPattern=%-2000000000m%n\n")
                                             << QStringLiteral("field width of 2000000000");
        QTest::newRow("trailing backslash") << consoleWith("", "log4j.appender.console.layout.ConversionPattern=%m%n\\\\\n")
                                           << QStringLiteral("ends with a lone backslash");
        QTest::newRow("level of a class that is none") << QByteArray(kConsole).replace("INFO", "INFO#org.apache.log4j.SimpleLayout") + kPattern
                                                      << QStringLiteral("a level with a class of its own");
        QTest::newRow("daily rolling appender") << QByteArray(kConsole).replace("ConsoleAppender", "DailyRollingFileAppender") + kPattern
                                               << QStringLiteral("DailyRollingFileAppender never rolls");
    }
    void logConfigurationsLog4cxxWouldNotSurviveAreRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        const QString path = QStringLiteral("/etc/terminal/log4cxx.properties");
        CLogConfigFile file;
        QString error;
        QVERIFY(!file.parse(content, path, &error));
        QVERIFY2(error.contains(path) && error.contains(problem), qPrintable(error));
        QVERIFY(file.settings().empty());
    }

    void goodLogConfigurationsPassWithTheirVariablesExpanded()
    {
        QString error;
        CLogConfigFile file;
        const QByteArray withVariables = consoleWith("stamp=%d{HH:mm}\nline=${stamp} %m%n\n",
                                                     "log4j.appender.console.layout.ConversionPattern=${line} \\\n    [${stamp}]\n");
        QVERIFY2(file.parse(withVariables, QStringLiteral("vars.properties"), &error), qPrintable(error));
        QCOMPARE(file.expanded("log4j.appender.console.layout.ConversionPattern"), std::string("%d{HH:mm} %m%n [%d{HH:mm}]"));
    }

    void settingsFilesThatAreMissingNeverEndOrAreHugeAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing") << QStringLiteral("/nonexistent/settings") << QStringLiteral("file not found");
        QTest::newRow("device") << QStringLiteral("/dev/zero") << QStringLiteral("not a regular file");
        QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("a folder");
        QTest::newRow("huge") << QStringLiteral("huge.json") << QStringLiteral("at most 1048576");
        QTest::newRow("pipe") << QStringLiteral("pipe") << QStringLiteral("not a regular file");
    }
    void settingsFilesThatAreMissingNeverEndOrAreHugeAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("folder"));
        writeFile(dir.filePath(QStringLiteral("huge.json")), "{\"colors\": \"" + QByteArray(2 * 1024 * 1024, 'x') + "\"}");
        QVERIFY(QProcess::execute(QStringLiteral("mkfifo"), {dir.filePath(QStringLiteral("pipe"))}) == 0);
        const QString path = name.startsWith(QLatin1Char('/')) ? name : dir.filePath(name);

        QString error;
        QVERIFY(!CUiResource::instance()->loadThemeFile(path, &error));
        QVERIFY2(error.contains(path) && error.contains(problem), qPrintable(error));
        QVERIFY(!getConfig()->load(path, &error));
        QVERIFY2(error.contains(path) && error.contains(problem), qPrintable(error));
        QVERIFY(!CLogCenter::instance()->configure(path, &error));
        QVERIFY2(error.contains(path) && error.contains(problem), qPrintable(error));
    }

    void badOrIncompleteThemesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        QTest::newRow("giant font") << themeWith("fonts", R"("fnt_x": {"family": "A", "pixelSize": 100000})") << QStringLiteral("pixelSize from 1 to");
        QTest::newRow("fractional font") << themeWith("fonts", R"("fnt_x": {"family": "A", "pixelSize": 12.5})") << QStringLiteral("fnt_x");
        QTest::newRow("font as text") << themeWith("fonts", R"("fnt_x": "12px A")") << QStringLiteral("must be an object");
        QTest::newRow("family as number") << themeWith("fonts", R"("fnt_x": {"family": 5, "pixelSize": 12})") << QStringLiteral("family name");
        QTest::newRow("unknown weight") << themeWith("fonts", R"("fnt_x": {"family": "A", "pixelSize": 12, "weight": "heavy"})")
                                       << QStringLiteral("unknown weight");
        QTest::newRow("size beyond int") << themeWith("sizes", R"("tc_siz_x": 1e300)") << QStringLiteral("tc_siz_x");
        QTest::newRow("negative size") << themeWith("sizes", R"("tc_siz_x": -3)") << QStringLiteral("whole number from 0");
        QTest::newRow("image from a device") << themeWith("images", R"("img_x": "/dev/zero")") << QStringLiteral("not a regular file");
        QTest::newRow("image not SVG") << themeWith("images", R"("img_x": "/etc/passwd")") << QStringLiteral("not a valid SVG");
        QTest::newRow("image without path") << themeWith("images", R"("img_x": 7)") << QStringLiteral("needs the path");
        QTest::newRow("font set twice") << themeWith("fonts", R"("fnt_x": {"pixelSize": 12}, "fnt_x": {"pixelSize": 14})")
                                       << QStringLiteral("\"fonts\" sets \"fnt_x\" twice");
        QTest::newRow("escaped twin") << themeWith("colors", "\"clr_a\": \"#ffffff\", \"clr_\\u0061\": \"#000000\"")
                                     << QStringLiteral("\"colors\" sets \"clr_a\" twice");
        QTest::newRow("a colour the bar uses missing") << darkThemeWithout(QStringLiteral("clr_main_statusbar_background"))
                                                      << QStringLiteral("lacks keys the status bar uses: clr_main_statusbar_background;");
        QTest::newRow("base not built in") << QByteArray(R"({"base": "purple"})") << QStringLiteral("\"base\" must name a built-in theme");
    }
    void badOrIncompleteThemesAreRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("theme.json")), content);
        CUiResource* resource = CUiResource::instance();
        const QFont before = resource->getFont(QStringLiteral("fnt_default_normal"));
        QString error;
        QVERIFY(!resource->loadThemeFile(path, &error));
        QVERIFY2(error.contains(path) && error.contains(problem), qPrintable(error));
        QCOMPARE(resource->getFont(QStringLiteral("fnt_default_normal")), before);
        QCOMPARE(resource->themeName(), QStringLiteral("dark"));
    }

    void theDemoEndsWithAMessageOnBadInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("logConfiguration"); // written to the run's config folder when set
        QTest::addColumn<QString>("unsetVariable");       // left out of the demo's environment
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QByteArray none;
        const QString all;
        QTest::newRow("log variable refers to itself")
            << QStringList() << consoleWith("loop=${loop}x\n", "log4j.appender.console.layout.ConversionPattern=${loop} %m%n\n")
            << all << kExitFailure << QStringLiteral("log4cxx.properties, line 5: variable loop refers to itself");
        QTest::newRow("log configuration of 10 MB of comments")
            << QStringList() << QByteArray("# a comment line that says nothing at all\n").repeated(250000) << all << kExitFailure
            << QStringLiteral("log4cxx.properties: 10500000 bytes; a settings file may have at most 1048576");
        QTest::newRow("log4cxx names a misspelt appender itself")
            << QStringList{QStringLiteral("--no-sim"), QStringLiteral("--quit-after"), QStringLiteral("0.5")}
            << QByteArray(kConsole).replace("ConsoleAppender", "ConsolAppender") + kPattern << all << 0
            << QStringLiteral("log4cxx: Class not found: org.apache.log4j.ConsolAppender");
        QTest::newRow("log4cxx stops at a logger factory it cannot make")
            << QStringList() << consoleWith("log4j.loggerFactory=NoSuchFactory\n") << all << kExitFailure
            << QStringLiteral("log4cxx.properties: log4cxx stopped reading it: Class not found: NoSuchFactory");
        QTest::newRow("quit after nan") << QStringList{QStringLiteral("--quit-after"), QStringLiteral("nan")} << none << all << kExitUsage
                                        << QStringLiteral("--quit-after: \"nan\" is not a number");
        QTest::newRow("simulator speed nan") << QStringList{QStringLiteral("--sim-speed"), QStringLiteral("nan")} << none << all << kExitUsage
                                             << QStringLiteral("--sim-speed: \"nan\" is not a number");
        QTest::newRow("screenshot delay nan")
            << QStringList{QStringLiteral("--screenshot"), QStringLiteral("x.png"), QStringLiteral("--screenshot-delay"), QStringLiteral("nan")}
            << none << all << kExitUsage << QStringLiteral("--screenshot-delay: \"nan\" is not a number");
        QTest::newRow("theme from a device") << QStringList{QStringLiteral("--theme-file"), QStringLiteral("/dev/zero")} << none << all << kExitUsage
                                             << QStringLiteral("theme file /dev/zero: not a regular file");
        QTest::newRow("client type out of range") << QStringList{QStringLiteral("--client-type"), QStringLiteral("5")} << none << all
                                                  << kExitUsage << QStringLiteral("--client-type: \"5\" is not a whole number from 0 to 1");
        QTest::newRow("mode out of range") << QStringList{QStringLiteral("--mode"), QStringLiteral("9")} << none << all << kExitUsage
                                           << QStringLiteral("--mode: \"9\" is not a whole number from 0 to 2");
        QTest::newRow("no display") << QStringList() << none << QStringLiteral("DISPLAY") << kExitFailure
                                    << QStringLiteral("no display: DISPLAY is not set");
        QTest::newRow("good input runs") << QStringList{QStringLiteral("--no-sim"), QStringLiteral("--quit-after"), QStringLiteral("0.5")}
                                         << none << all << 0 << QString();
    }
    void theDemoEndsWithAMessageOnBadInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, logConfiguration);
        QFETCH(QString, unsetVariable);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        if (!logConfiguration.isEmpty()) {
            QVERIFY(QFile::copy(CConfig::defaultFile(), dir.filePath(QStringLiteral("terminal.json"))));
            writeFile(dir.filePath(QStringLiteral("log4cxx.properties")), logConfiguration);
            arguments << QStringLiteral("--config-dir") << dir.path();
        }
        const DemoRun run = runDemo(arguments, unsetVariable);
        QVERIFY2(run.finished, "the demo did not end");
        QVERIFY2(run.exitCode == exitCode, qPrintable(QStringLiteral("exit code %1: %2").arg(run.exitCode).arg(run.errors)));
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    }
};

STATUSBAR_TEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
