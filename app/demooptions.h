#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

/**
 * @brief The demo's command line: what it accepts, the values it read, and what was wrong.
 *
 * Parsing needs no display, so --help and bad values answer on a machine without one.
 */
class CDemoOptions
{
public:
    enum class Result {
        Run,   ///< the values are good; start the window
        Help,  ///< the user asked for --help; helpText() says it all
        Error, ///< a value is bad; errorText() names the option and the problem
    };

    /// The speeds of the simulated back end the demo offers, on the command line and in the panel.
    static constexpr double kMinSimSpeed = 0.1;
    static constexpr double kMaxSimSpeed = 20.0;
    /// The client types (0 trading terminal, 1 quote client) and layout modes (2 quote only) the demo knows.
    static constexpr int kMaxClientType = 1;
    static constexpr int kMaxMode = 2;

    /// Reads arguments (program name first). Needs a QCoreApplication for the help text's program name.
    Result parse(const QStringList& arguments);
    QString helpText() const { return m_helpText; }
    QString errorText() const { return m_errorText; }

    QString screenshotFile;
    double screenshotDelaySeconds = 0.0; ///< 0: at the quit time, or after the default delay
    double quitAfterSeconds = 0.0;       ///< 0: run until closed
    QString theme;                       ///< empty: keep the default theme
    QString themeFile;
    QString configDir;                   ///< empty: the installation's config/ folder
    int scalePercent = 100;
    int clientType = 0;
    int mode = 0;
    int width = 0;                       ///< 0: the default width
    bool hasSeed = false;
    std::uint32_t seed = 0;
    bool simulate = true;
    double simSpeed = 1.0;
    int floodRate = 0;                   ///< order updates per second of the flood; 0: no flood
    bool clientLauncher = false;         ///< show the minimal trading client's launcher
    QList<QStringList> grantedModules;   ///< module rights to grant, each {group key, module key}

private:
    QString m_helpText;
    QString m_errorText;
};
