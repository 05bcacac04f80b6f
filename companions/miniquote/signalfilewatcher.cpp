#include "signalfilewatcher.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace {
// The deepest folder on the way to folder that exists now: folder itself, or one above it.
QString nearestExistingFolder(const QString& folder)
{
    QString path = folder;
    while (!QFileInfo(path).isDir() && !QDir(path).isRoot())
        path = QFileInfo(path).absolutePath();
    return path;
}
}

CSignalFileWatcher::CSignalFileWatcher(const QString& path, QObject* parent)
    : QObject(parent)
    , m_path(QFileInfo(path).absoluteFilePath())
    , m_folder(QFileInfo(m_path).absolutePath())
{
    if (!QDir().mkpath(m_folder)) {
        m_error = QStringLiteral("signal file %1: cannot create the folder %2").arg(m_path, m_folder);
        return;
    }
    QFile file(m_path);
    if (!file.exists() && !file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("signal file %1: %2").arg(m_path, file.errorString());
        return;
    }
    file.close();
    m_watcher = new QFileSystemWatcher(this);
    m_error = arm();
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &CSignalFileWatcher::onFileChanged);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &CSignalFileWatcher::onFolderChanged);
}

QString CSignalFileWatcher::arm()
{
    // The folder, or while it is gone the nearest one above, whose change may bring it back. A
    // folder made between the look and the watch would go unseen: look again until both agree.
    QString watched;
    while (watched != nearestExistingFolder(m_folder)) {
        watched = nearestExistingFolder(m_folder);
        QStringList stale = m_watcher->directories();
        stale.removeOne(watched);
        if (!stale.isEmpty())
            m_watcher->removePaths(stale);
        if (!m_watcher->directories().contains(watched) && !m_watcher->addPath(watched))
            return QStringLiteral("signal file %1: cannot watch the folder %2").arg(m_path, watched);
    }
    // Watching a file watches what is under its name now: one written anew needs a new watch.
    if (watched == m_folder && QFileInfo::exists(m_path) && !m_watcher->files().contains(m_path) && !m_watcher->addPath(m_path))
        return QStringLiteral("signal file %1: cannot be watched").arg(m_path);
    return {};
}

void CSignalFileWatcher::rearm()
{
    const QString error = arm();
    if (!error.isEmpty() && m_error.isEmpty())
        qWarning().noquote() << error << "- the window comes forward only when the terminal asks";
    m_error = error;
}

void CSignalFileWatcher::onFileChanged()
{
    // A removal drops the watch; the folder's change brings it back once the file is there again.
    const bool there = QFileInfo::exists(m_path);
    rearm();
    if (there)
        emit sigTouched();
}

void CSignalFileWatcher::onFolderChanged()
{
    const bool watchedBefore = m_watcher->files().contains(m_path);
    rearm();
    if (!watchedBefore && m_watcher->files().contains(m_path))
        emit sigTouched();
}
