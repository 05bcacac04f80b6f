#include "logcenter.h"

#include <terminalhost/config.h>
#include <terminalhost/logconfigfile.h>

#include <QDir>
#include <QFileInfo>

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
    auto fail = [error](const QString& problem) {
        if (error)
            *error = problem;
        return false;
    };
    // The file appender writes under ${STATUSBAR_LOG_DIR}; by default the installation's logs/
    // folder, beside config/. That folder of the installation's own is the only one ever made.
    if (qEnvironmentVariableIsEmpty(kLogDirVariable)) {
        const QString configDir = getConfigDir();
        const QString logDir = QDir(configDir + QStringLiteral("/../logs")).absolutePath();
        if (QFileInfo(configDir).isDir() && !QFileInfo(logDir).isDir() && !QDir().mkdir(logDir))
            return fail(QStringLiteral("log folder %1 could not be made").arg(logDir));
        qputenv(kLogDirVariable, QFile::encodeName(logDir));
    } else if (!QFileInfo(qEnvironmentVariable(kLogDirVariable)).isDir()) {
        return fail(QStringLiteral("%1=%2: no such folder").arg(QLatin1String(kLogDirVariable), qEnvironmentVariable(kLogDirVariable)));
    }
    CLogConfigFile file;
    QString problem;
    if (!file.load(propertiesFile, &problem))
        return fail(problem);
    file.apply();
    return true;
}

void CLogCenter::reset()
{
    m_enabled.clear();
}
