#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;

/**
 * @brief Watches the mini quote client's signal file: any change to it, truncation included, or
 * its coming back after it was removed, is a wake request.
 *
 * The file and its folder are created when missing, so the terminal's launcher always finds
 * something to touch.
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
    void onFileChanged();
    void onFolderChanged();

    QString m_path;
    QString m_error;
    QFileSystemWatcher* m_watcher = nullptr;
};
