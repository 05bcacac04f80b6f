#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QString>

/**
 * @brief The terminal's installation configuration: server addresses and feature switches.
 */
class TERMINALHOST_EXPORT CConfig
{
public:
    static CConfig* instance();

    /// The embedded browser may be used.
    bool useWebView() const { return m_useWebView; }
    void setUseWebView(bool on) { m_useWebView = on; }
    QString tradeServerAddress() const { return m_tradeServer; }
    void setTradeServerAddress(const QString& address) { m_tradeServer = address; }
    QString marketStatusServerAddress() const { return m_marketStatusServer; }
    void setMarketStatusServerAddress(const QString& address) { m_marketStatusServer = address; }
    QString feedbackAddress() const { return m_feedbackAddress; }
    void setFeedbackAddress(const QString& address) { m_feedbackAddress = address; }
    /// The minimal trading client's launcher shows in the status bar.
    bool showClientLauncher() const { return m_showClientLauncher; }
    void setShowClientLauncher(bool on) { m_showClientLauncher = on; }

    /// Reads the installation's settings from a JSON file; keys left out keep their values. On a
    /// missing or malformed file nothing changes and error names the file and the problem.
    bool load(const QString& path, QString* error = nullptr);
    /// The settings file in the configuration directory.
    static QString defaultFile();

    void reset();

private:
    CConfig();
    bool m_useWebView = true;
    QString m_tradeServer;
    QString m_marketStatusServer;
    QString m_feedbackAddress;
    bool m_showClientLauncher = false;
};

TERMINALHOST_EXPORT CConfig* getConfig();

/// The terminal's configuration directory; the installation's other folders sit beside it.
TERMINALHOST_EXPORT QString getConfigDir();
TERMINALHOST_EXPORT void setConfigDir(const QString& dir);
