#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;

/**
 * @brief Watches the mini quote client's signal file: any change to it, truncation included, or
 * its coming back after it was removed, is a wake request.
 *
 * The file and its folder are created when missing, so the terminal's launcher always finds
 * something to touch. The folder may go and come back later (the per-user runtime folder does at
 * logout and login): meanwhile the nearest folder above it is watched, and the watch moves back
 * once the folder is there again. A watch that cannot be put back is reported once on stderr.
 */
class CSignalFileWatcher : public QObject
{
    Q_OBJECT
public:
    explicit CSignalFileWatcher(const QString& path, QObject* parent = nullptr);

    /// False when the file could not be created or watched; error then names the file and why.
    bool isWatching() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

signals:
    void sigTouched();

private:
    /// Puts the watches where the file and its folder are now; returns what stood in the way.
    QString arm();
    void rearm();
    void onFileChanged();
    void onFolderChanged();

    QString m_path;
    QString m_folder;
    QString m_error;
    QFileSystemWatcher* m_watcher = nullptr;
};
