#include "controlpanel.h"
#include "demooptions.h"
#include "mainwindow.h"

#include <terminalhost/appconfig.h>
#include <terminalsim/backendsimulator.h>
#include <terminalhost/config.h>
#include <terminalhost/logcenter.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QPixmap>
#include <QStyleFactory>
#include <QTimer>

#include <cmath>
#include <cstdio>

#include <unistd.h>

namespace {
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kDefaultWidth = 1280;  // px
constexpr int kDefaultHeight = 720;  // px
constexpr double kDefaultScreenshotSeconds = 5.0;
constexpr int kAppFontPixelSize = 12;
const char kAppFontFamily[] = "WenQuanYi Micro Hei"; // Debian's fonts-wqy-microhei; covers Chinese and Latin
const char kStyle[] = "Fusion";

void printError(const QString& message)
{
    std::fprintf(stderr, "statusbar-demo: %s\n", qPrintable(message));
}

int toMs(double seconds)
{
    return static_cast<int>(std::lround(seconds * 1000.0));
}

// The embedded browser refuses to start as root with its sandbox, and has no GPU here; the user's own
// settings win.
void prepareWebEngineEnvironment()
{
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage");
}

// Qt's X11 platform plugin aborts the process when there is no display to connect to; say so first.
bool hasDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool x11 = platform.isEmpty() || platform.startsWith("xcb");
    return !x11 || !qEnvironmentVariableIsEmpty("DISPLAY");
}

bool saveScreenshot(QWidget* window, const QString& file)
{
    const QPixmap picture = window->grab();
    if (!picture.save(file, "PNG")) {
        printError(QStringLiteral("could not write the screenshot to %1").arg(file));
        return false;
    }
    std::printf("%s\n", qPrintable(QFileInfo(file).absoluteFilePath()));
    std::fflush(stdout);
    return true;
}
}

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("statusbar-demo"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); // the embedded browser shares GL contexts

    // Options are read before the GUI exists, so that --help and bad values answer without a display.
    CDemoOptions options;
    {
        QCoreApplication probe(argc, argv);
        switch (options.parse(QCoreApplication::arguments())) {
        case CDemoOptions::Result::Help:
            std::printf("%s", qPrintable(options.helpText()));
            return 0;
        case CDemoOptions::Result::Error:
            printError(options.errorText());
            printError(QStringLiteral("try --help"));
            return kExitUsage;
        case CDemoOptions::Result::Run:
            break;
        }
    }

    if (!hasDisplay()) {
        printError(QStringLiteral("no display: DISPLAY is not set; run the demo on a desktop, or under Xvfb "
                                  "(xvfb-run -a statusbar-demo, or bash scripts/run-demo.sh)"));
        return kExitFailure;
    }
    prepareWebEngineEnvironment();
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QLatin1String(kStyle)));
    if (!QFontDatabase().families().contains(QLatin1String(kAppFontFamily)))
        printError(QStringLiteral("font \"%1\" is not installed; Chinese text will show as boxes (install fonts-wqy-microhei)")
                       .arg(QLatin1String(kAppFontFamily)));
    QFont font{QLatin1String(kAppFontFamily)};
    font.setPixelSize(kAppFontPixelSize);
    QApplication::setFont(font);

    QString error;
    if (!options.configDir.isEmpty()) {
        if (!QFileInfo(options.configDir).isDir()) {
            printError(QStringLiteral("--config-dir: %1 is not a folder").arg(options.configDir));
            return kExitUsage;
        }
        setConfigDir(QDir(options.configDir).absolutePath());
    }
    if (!CLogCenter::instance()->configure(CLogCenter::defaultConfigFile(), &error)
        || !getConfig()->load(CConfig::defaultFile(), &error)) {
        printError(error);
        return kExitFailure;
    }
    if (!options.themeFile.isEmpty()) {
        if (!CUiResource::instance()->loadThemeFile(options.themeFile, &error)) {
            printError(error);
            return kExitUsage;
        }
    } else if (!options.theme.isEmpty() && !CUiResource::instance()->setTheme(options.theme, &error)) {
        printError(error);
        return kExitUsage;
    }
    CUiResource::instance()->setUIScale(options.scalePercent / 100.0);
    CAppConfig::setClientType(options.clientType);
    getUserConfig()->mode = options.mode;
    // The demo's user has the order service with file and DBF feeds, so the bar shows its switch.
    getUserConfig()->setHasOrderService(true);
    getUserConfig()->setHasFileOrderService(true);
    getUserConfig()->setHasDbfOrderService(true);
    if (options.clientLauncher)
        getConfig()->setShowClientLauncher(true);
    for (const QStringList& keys : qAsConst(options.grantedModules))
        LuaModuleCtrl::setModule(keys, true);

    const std::uint32_t seed = options.hasSeed ? options.seed : CBackendSimulator::randomSeed();
    if (options.simulate)
        std::printf("statusbar-demo: simulated back end, seed %u (--seed %u repeats it)\n", seed, seed);
    if (options.simulate && options.floodRate > 0)
        std::printf("statusbar-demo: flooding with %d order updates per second\n", options.floodRate);

    CMainWindow window(seed, options.simulate, options.simSpeed, options.floodRate);
    window.resize(options.width > 0 ? options.width : kDefaultWidth, kDefaultHeight);
    window.show();

    // A screenshot due at the quit time is taken by the quit timer itself, so it cannot miss.
    bool screenshotPending = !options.screenshotFile.isEmpty();
    const double quitAfter = options.quitAfterSeconds;
    double screenshotAfter = options.screenshotDelaySeconds;
    if (screenshotAfter <= 0.0)
        screenshotAfter = quitAfter > 0.0 ? quitAfter : kDefaultScreenshotSeconds;
    if (screenshotPending && !(quitAfter > 0.0 && screenshotAfter >= quitAfter)) {
        QTimer::singleShot(toMs(screenshotAfter), &window, [&] {
            screenshotPending = false;
            if (!saveScreenshot(&window, options.screenshotFile))
                QCoreApplication::exit(kExitFailure);
        });
    }
    if (quitAfter > 0.0) {
        QTimer::singleShot(toMs(quitAfter), &window, [&] {
            if (screenshotPending) {
                screenshotPending = false;
                if (!saveScreenshot(&window, options.screenshotFile)) {
                    QCoreApplication::exit(kExitFailure);
                    return;
                }
            }
            window.close();
            QCoreApplication::quit();
        });
    }
    QElapsedTimer running;
    running.start();
    const int result = QApplication::exec();

    // A flood run ends with what it achieved, so a run under load can be judged from its output.
    if (options.simulate && window.simulator()->floodRate() > 0) {
        const double seconds = running.elapsed() / 1000.0;
        const auto flooded = window.simulator()->publishedFloodUpdates();
        std::printf("statusbar-demo: flood published %llu order updates in %.1f s (%.0f per second); "
                    "GUI timers ran at most %d ms late\n",
                    static_cast<unsigned long long>(flooded), seconds, seconds > 0.0 ? flooded / seconds : 0.0,
                    window.controlPanel()->worstGuiLagMs());
    }
    return result;
}
