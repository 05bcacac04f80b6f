#include "signalfilewatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

CSignalFileWatcher::CSignalFileWatcher(const QString& path, QObject* parent)
    : QObject(parent)
    , m_path(QFileInfo(path).absoluteFilePath())
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) {
        m_error = QStringLiteral("signal file %1: cannot create the folder %2").arg(m_path, folder);
        return;
    }
    QFile file(m_path);
    if (!file.exists() && !file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("signal file %1: %2").arg(m_path, file.errorString());
        return;
    }
    file.close();
    m_watcher = new QFileSystemWatcher(this);
    // The folder too: a file removed and written anew is no longer the one a watch was put on.
    if (!m_watcher->addPath(m_path) || !m_watcher->addPath(folder)) {
        m_error = QStringLiteral("signal file %1: cannot be watched").arg(m_path);
        return;
    }
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &CSignalFileWatcher::onFileChanged);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &CSignalFileWatcher::onFolderChanged);
}

void CSignalFileWatcher::onFileChanged()
{
    // A removal drops the watch; the folder's change brings it back once the file is there again.
    if (QFileInfo::exists(m_path)) {
        if (!m_watcher->files().contains(m_path))
            m_watcher->addPath(m_path);
        emit sigTouched();
    }
}

void CSignalFileWatcher::onFolderChanged()
{
    if (m_watcher->files().contains(m_path) || !QFileInfo::exists(m_path))
        return;
    m_watcher->addPath(m_path);
    emit sigTouched();
}
