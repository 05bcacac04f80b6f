#include "config.h"

#include <QCoreApplication>

namespace {
const char kTradeServer[] = "trade.sim.local:9501";
const char kMarketStatusServer[] = "mktstatus.sim.local:9601";
const char kFeedbackAddress[] = "http://127.0.0.1:8080/feedback";

QString& configDir()
{
    static QString dir;
    return dir;
}
}

CConfig* CConfig::instance()
{
    static CConfig* config = new CConfig; // lives for the process, like the terminal's
    return config;
}

CConfig::CConfig()
{
    reset();
}

void CConfig::reset()
{
    m_useWebView = true;
    m_tradeServer = QLatin1String(kTradeServer);
    m_marketStatusServer = QLatin1String(kMarketStatusServer);
    m_feedbackAddress = QLatin1String(kFeedbackAddress);
    m_showClientLauncher = false;
}

CConfig* getConfig()
{
    return CConfig::instance();
}

QString getConfigDir()
{
    // By default the installation keeps config/ beside the executables.
    if (configDir().isEmpty() && QCoreApplication::instance())
        return QCoreApplication::applicationDirPath() + QStringLiteral("/config");
    return configDir();
}

void setConfigDir(const QString& dir)
{
    configDir() = dir;
}
