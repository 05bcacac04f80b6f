#include "config.h"

#include <terminalhost/hostutils.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

namespace {
const char kTradeServer[] = "trade.sim.local:9501";
const char kMarketStatusServer[] = "mktstatus.sim.local:9601";
const char kFeedbackAddress[] = ""; // no feedback page unless the installation names one

constexpr int kMaxPort = 65535;

// Empty when address is host:port with a port from 1 to 65535 (an IPv6 host in brackets); else what is wrong.
QString serverAddressProblem(const QString& address)
{
    const int colon = address.lastIndexOf(QLatin1Char(':'));
    const QString host = address.left(colon);
    const bool bracketed = host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'));
    if (colon <= 0 || host.contains(QLatin1Char(' ')) || (host.contains(QLatin1Char(':')) && !bracketed))
        return QStringLiteral("is not of the form host:port");
    const QString port = address.mid(colon + 1);
    bool ok = false;
    const int number = port.toInt(&ok);
    if (!ok || number < 1 || number > kMaxPort || !port.at(0).isDigit())
        return QStringLiteral("has port \"%1\"; a port is a whole number from 1 to %2").arg(port).arg(kMaxPort);
    return {};
}

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

QString CConfig::defaultFile()
{
    return getConfigDir() + QStringLiteral("/terminal.json");
}

bool CConfig::load(const QString& path, QString* error)
{
    auto fail = [&](const QString& problem) {
        if (error)
            *error = QStringLiteral("configuration file %1: %2").arg(path, problem);
        return false;
    };
    QJsonObject root;
    QString problem;
    if (!readJsonObject(path, &root, &problem))
        return fail(problem);
    for (const char* flag : {"useWebView", "showClientLauncher"}) {
        if (root.contains(QLatin1String(flag)) && !root.value(QLatin1String(flag)).isBool())
            return fail(QStringLiteral("\"%1\" must be true or false").arg(QLatin1String(flag)));
    }
    for (const char* text : {"tradeServer", "marketStatusServer", "feedbackAddress"}) {
        if (root.contains(QLatin1String(text)) && !root.value(QLatin1String(text)).isString())
            return fail(QStringLiteral("\"%1\" must be a text").arg(QLatin1String(text)));
    }
    for (const char* server : {"tradeServer", "marketStatusServer"}) {
        const QString address = root.value(QLatin1String(server)).toString();
        const QString wrong = root.contains(QLatin1String(server)) ? serverAddressProblem(address) : QString();
        if (!wrong.isEmpty())
            return fail(QStringLiteral("\"%1\": \"%2\" %3").arg(QLatin1String(server), address, wrong));
    }
    m_useWebView = root.value(QLatin1String("useWebView")).toBool(m_useWebView);
    m_showClientLauncher = root.value(QLatin1String("showClientLauncher")).toBool(m_showClientLauncher);
    m_tradeServer = root.value(QLatin1String("tradeServer")).toString(m_tradeServer);
    m_marketStatusServer = root.value(QLatin1String("marketStatusServer")).toString(m_marketStatusServer);
    m_feedbackAddress = root.value(QLatin1String("feedbackAddress")).toString(m_feedbackAddress);
    return true;
}

CConfig* getConfig()
{
    return CConfig::instance();
}

QString getConfigDir()
{
    if (!configDir().isEmpty() || !QCoreApplication::instance())
        return configDir();
    // A build tree keeps config/ beside the executables; an installed tree keeps it in its data
    // folder, found from the executable so that the tree can move.
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString besideProgram = programDir + QStringLiteral("/config");
    if (QFileInfo(besideProgram).isDir())
        return besideProgram;
    return QDir(programDir + QStringLiteral("/" TERMINALHOST_DATA_FROM_BIN "/config")).absolutePath();
}

void setConfigDir(const QString& dir)
{
    configDir() = dir;
}
