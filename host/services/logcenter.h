#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QSet>
#include <QString>

/**
 * @brief The terminal's log switchboard: which debug ids write to the debug log file, and the
 * log4cxx configuration behind it.
 *
 * Debug id 70 carries the network latency lines. The configuration file defines the logger
 * "ZQDbgFile" and where it writes.
 */
class TERMINALHOST_EXPORT CLogCenter
{
public:
    static constexpr int kNetSpeedDebugId = 70;

    static CLogCenter* instance();

    bool fileLogEnabled(int debugId) const { return m_enabled.contains(debugId); }
    void setFileLogEnabled(int debugId, bool on);

    /// Checks a log4cxx properties file (CLogConfigFile) and hands it to log4cxx. A missing or
    /// unreadable file, or one log4cxx would not survive, leaves logging as it was; one log4cxx gives
    /// up on halfway keeps what it read. Either way error names the file and the problem. log4cxx
    /// reports the mistakes it runs on with on stderr.
    bool configure(const QString& propertiesFile, QString* error = nullptr);
    /// The properties file in the configuration directory.
    static QString defaultConfigFile();

    void reset();

private:
    CLogCenter() = default;
    QSet<int> m_enabled;
};
