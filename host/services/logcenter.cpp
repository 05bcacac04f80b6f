#include "logcenter.h"

#include <terminalhost/config.h>

#include <QDir>
#include <QFileInfo>

#include <log4cxx/propertyconfigurator.h>

namespace {
const char kLogDirVariable[] = "STATUSBAR_LOG_DIR";
}

CLogCenter* CLogCenter::instance()
{
    static CLogCenter* center = new CLogCenter; // lives for the process
    return center;
}

void CLogCenter::setFileLogEnabled(int debugId, bool on)
{
    if (on)
        m_enabled.insert(debugId);
    else
        m_enabled.remove(debugId);
}

QString CLogCenter::defaultConfigFile()
{
    return getConfigDir() + QStringLiteral("/log4cxx.properties");
}

bool CLogCenter::configure(const QString& propertiesFile, QString* error)
{
    const QFileInfo info(propertiesFile);
    if (!info.isFile() || !info.isReadable()) {
        if (error)
            *error = QStringLiteral("log configuration %1: %2")
                         .arg(propertiesFile, info.exists() ? QStringLiteral("not a readable file") : QStringLiteral("file not found"));
        return false;
    }
    // The file appender writes under ${STATUSBAR_LOG_DIR}; by default the installation's logs/ folder.
    if (qEnvironmentVariableIsEmpty(kLogDirVariable)) {
        const QString logDir = QDir(info.absolutePath() + QStringLiteral("/../logs")).absolutePath();
        QDir().mkpath(logDir);
        qputenv(kLogDirVariable, QFile::encodeName(logDir));
    }
    log4cxx::PropertyConfigurator::configure(log4cxx::File(propertiesFile.toStdString()));
    return true;
}

void CLogCenter::reset()
{
    m_enabled.clear();
}
