#include "demooptions.h"

#include <terminalsim/backendsimulator.h>
#include <terminalhost/uiresource.h>

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cmath>
#include <limits>
#include <type_traits>

namespace {
constexpr int kMinScalePercent = 80;  // the zoom control's own range
constexpr int kMaxScalePercent = 200;
constexpr int kMinWidth = 320;        // px; narrower leaves nothing of the workspace
constexpr int kMaxWidth = 10000;
constexpr double kMaxSeconds = 24 * 3600.0;
constexpr int kMinFloodRate = 1;

// Reads a numeric option into out when given; false with a message when it is not a number of
// the right kind (whole for integers) in range. "nan" and "inf" read as numbers: NaN fails every
// comparison, so it is refused by name before the range test.
template <class T>
bool readNumber(const QCommandLineParser& parser, const QCommandLineOption& option, T low, T high, T* out, QString* error)
{
    if (!parser.isSet(option))
        return true;
    const QString text = parser.value(option);
    bool ok = false;
    T value;
    if constexpr (std::is_integral_v<T>)
        value = text.toLongLong(&ok);
    else
        value = text.toDouble(&ok);
    if constexpr (!std::is_integral_v<T>)
        ok = ok && std::isfinite(value);
    if (!ok || value < low || value > high) {
        *error = QStringLiteral("--%1: \"%2\" is not a %3 from %4 to %5")
                     .arg(option.names().constFirst(), text,
                          std::is_integral_v<T> ? QStringLiteral("whole number") : QStringLiteral("number"))
                     .arg(low)
                     .arg(high);
        return false;
    }
    *out = value;
    return true;
}
}

CDemoOptions::Result CDemoOptions::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A trading terminal window hosting the status bar, driven by a simulated market and trading back end."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                              QStringLiteral("Save a picture of the whole window to <file> (PNG) and print its path."),
                                              QStringLiteral("file"));
    const QCommandLineOption screenshotDelayOption(
        QStringLiteral("screenshot-delay"),
        QStringLiteral("Seconds after start to take the screenshot (default: at --quit-after, else 5)."),
        QStringLiteral("seconds"));
    const QCommandLineOption quitOption(QStringLiteral("quit-after"), QStringLiteral("Quit after <seconds>."),
                                        QStringLiteral("seconds"));
    const QCommandLineOption themeOption(QStringLiteral("theme"), QStringLiteral("Built-in theme: dark (default) or light."),
                                         QStringLiteral("name"));
    const QCommandLineOption themeFileOption(QStringLiteral("theme-file"), QStringLiteral("Load the theme from a JSON file."),
                                             QStringLiteral("path"));
    const QCommandLineOption configDirOption(
        QStringLiteral("config-dir"),
        QStringLiteral("Read terminal.json and log4cxx.properties from <dir> instead of the installation's config/ folder "
                       "(the chart page is then looked for in webwidget/ beside it)."),
        QStringLiteral("dir"));
    const QCommandLineOption scaleOption(QStringLiteral("scale"), QStringLiteral("UI scale in percent, 80 to 200."),
                                         QStringLiteral("percent"));
    const QCommandLineOption clientTypeOption(QStringLiteral("client-type"),
                                              QStringLiteral("0: full trading terminal (default); 1: quote client."),
                                              QStringLiteral("n"));
    const QCommandLineOption modeOption(QStringLiteral("mode"), QStringLiteral("Layout mode, 0 to 2; 2 is the quote-only layout."),
                                        QStringLiteral("n"));
    const QCommandLineOption widthOption(QStringLiteral("width"), QStringLiteral("Initial window width in pixels."),
                                         QStringLiteral("px"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the simulated back end, for a repeatable run."),
                                        QStringLiteral("n"));
    const QCommandLineOption noSimOption(QStringLiteral("no-sim"), QStringLiteral("Start with the simulated back end off."));
    const QCommandLineOption simSpeedOption(QStringLiteral("sim-speed"),
                                            QStringLiteral("Speed of the simulated back end, 0.1 to 20 (default 1)."),
                                            QStringLiteral("factor"));
    const QCommandLineOption floodOption(
        QStringLiteral("flood"),
        QStringLiteral("Flood the status bar with order updates from several threads, %1 a second unless --flood-rate says otherwise.")
            .arg(CBackendSimulator::kDefaultFloodRate));
    const QCommandLineOption floodRateOption(QStringLiteral("flood-rate"),
                                             QStringLiteral("Order updates per second of the flood, %1 to %2 (implies --flood).")
                                                 .arg(kMinFloodRate)
                                                 .arg(CBackendSimulator::kMaxFloodRate),
                                             QStringLiteral("n"));
    const QCommandLineOption launcherOption(QStringLiteral("client-launcher"),
                                            QStringLiteral("Show the minimal trading client's launcher (CConfig showClientLauncher)."));
    const QCommandLineOption grantOption(
        QStringLiteral("grant"),
        QStringLiteral("Grant a module right, such as mdl_auth/mdl_auth_tolvex (the mini quote launcher); may be repeated."),
        QStringLiteral("group/module"));
    parser.addOptions({screenshotOption, screenshotDelayOption, quitOption, themeOption, themeFileOption, configDirOption, scaleOption,
                       clientTypeOption, modeOption, widthOption, seedOption, noSimOption, simSpeedOption, floodOption,
                       floodRateOption, launcherOption, grantOption});

    m_helpText = parser.helpText();
    if (!parser.parse(arguments)) {
        m_errorText = parser.errorText();
        return Result::Error;
    }
    if (parser.isSet(helpOption))
        return Result::Help;
    if (!parser.positionalArguments().isEmpty()) {
        m_errorText = QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().constFirst());
        return Result::Error;
    }

    screenshotFile = parser.value(screenshotOption);
    if (parser.isSet(screenshotOption) && screenshotFile.isEmpty()) {
        m_errorText = QStringLiteral("--screenshot: the file name is empty");
        return Result::Error;
    }
    theme = parser.value(themeOption);
    if (parser.isSet(themeOption) && !CUiResource::builtInThemes().contains(theme)) {
        m_errorText = QStringLiteral("--theme: unknown theme \"%1\"; built-in themes are %2")
                          .arg(theme, CUiResource::builtInThemes().join(QStringLiteral(", ")));
        return Result::Error;
    }
    themeFile = parser.value(themeFileOption);
    if (parser.isSet(themeOption) && parser.isSet(themeFileOption)) {
        m_errorText = QStringLiteral("--theme and --theme-file both choose the theme; give one of them");
        return Result::Error;
    }
    if (parser.isSet(themeFileOption) && themeFile.isEmpty()) {
        m_errorText = QStringLiteral("--theme-file: the path is empty");
        return Result::Error;
    }

    configDir = parser.value(configDirOption);
    if (parser.isSet(configDirOption) && configDir.isEmpty()) {
        m_errorText = QStringLiteral("--config-dir: the path is empty");
        return Result::Error;
    }

    qint64 scale = scalePercent;
    qint64 client = clientType;
    qint64 layoutMode = mode;
    qint64 windowWidth = width;
    qint64 seedValue = 0;
    qint64 flood = parser.isSet(floodOption) ? CBackendSimulator::kDefaultFloodRate : 0;
    if (!readNumber<qint64>(parser, scaleOption, kMinScalePercent, kMaxScalePercent, &scale, &m_errorText)
        || !readNumber<qint64>(parser, clientTypeOption, 0, kMaxClientType, &client, &m_errorText)
        || !readNumber<qint64>(parser, modeOption, 0, kMaxMode, &layoutMode, &m_errorText)
        || !readNumber<qint64>(parser, widthOption, kMinWidth, kMaxWidth, &windowWidth, &m_errorText)
        || !readNumber<qint64>(parser, seedOption, 0, std::numeric_limits<std::uint32_t>::max(), &seedValue, &m_errorText)
        || !readNumber(parser, quitOption, 0.1, kMaxSeconds, &quitAfterSeconds, &m_errorText)
        || !readNumber(parser, screenshotDelayOption, 0.1, kMaxSeconds, &screenshotDelaySeconds, &m_errorText)
        || !readNumber(parser, simSpeedOption, kMinSimSpeed, kMaxSimSpeed, &simSpeed, &m_errorText)
        || !readNumber<qint64>(parser, floodRateOption, kMinFloodRate, CBackendSimulator::kMaxFloodRate, &flood, &m_errorText))
        return Result::Error;
    scalePercent = static_cast<int>(scale);
    clientType = static_cast<int>(client);
    mode = static_cast<int>(layoutMode);
    width = static_cast<int>(windowWidth);
    hasSeed = parser.isSet(seedOption);
    seed = static_cast<std::uint32_t>(seedValue);
    simulate = !parser.isSet(noSimOption);
    floodRate = static_cast<int>(flood);

    clientLauncher = parser.isSet(launcherOption);
    for (const QString& right : parser.values(grantOption)) {
        const QStringList keys = right.split(QLatin1Char('/'));
        if (keys.size() != 2 || keys.at(0).trimmed().isEmpty() || keys.at(1).trimmed().isEmpty()) {
            m_errorText = QStringLiteral("--grant: \"%1\" is not a group key and a module key joined by \"/\"").arg(right);
            return Result::Error;
        }
        grantedModules << QStringList{keys.at(0).trimmed(), keys.at(1).trimmed()};
    }

    if (parser.isSet(screenshotDelayOption) && !parser.isSet(screenshotOption)) {
        m_errorText = QStringLiteral("--screenshot-delay needs --screenshot");
        return Result::Error;
    }
    if (quitAfterSeconds > 0.0 && screenshotDelaySeconds > quitAfterSeconds) {
        m_errorText = QStringLiteral("--screenshot-delay %1 comes after --quit-after %2; the window would be gone")
                          .arg(screenshotDelaySeconds)
                          .arg(quitAfterSeconds);
        return Result::Error;
    }
    return Result::Run;
}
