#include "logcenter.h"

#include <terminalhost/config.h>
#include <terminalhost/logconfigfile.h>

#include <QDir>

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
    // The file appender writes under ${STATUSBAR_LOG_DIR}; by default the installation's logs/
    // folder, beside config/. log4cxx makes the folder when it is missing.
    if (qEnvironmentVariableIsEmpty(kLogDirVariable))
        qputenv(kLogDirVariable, QFile::encodeName(QDir(getConfigDir() + QStringLiteral("/../logs")).absolutePath()));
    CLogConfigFile file;
    return file.load(propertiesFile, error) && file.apply(error);
}

void CLogCenter::reset()
{
    m_enabled.clear();
}
