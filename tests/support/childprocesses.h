#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>

#include <unistd.h>

/// The process is gone for good: ended and reaped, not even a zombie left.
inline bool processGone(qint64 pid)
{
    return !QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
}

inline QStringList commandLineOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList arguments;
    for (const QByteArray& argument : file.readAll().split('\0')) {
        if (!argument.isEmpty())
            arguments << QString::fromLocal8Bit(argument);
    }
    return arguments;
}

/// Pids of this test's own child processes that run the program, directly or as a script
/// ("/bin/sh program ...").
inline QList<qint64> childrenRunning(const QString& program)
{
    QList<qint64> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (comm) state ppid ...": the name may hold spaces, so read after its closing parenthesis.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 2 || fields.at(1).toLongLong() != getpid())
            continue;
        const QStringList arguments = commandLineOf(pid).mid(0, 2);
        for (const QString& argument : arguments) {
            if (QFileInfo(argument).fileName() == program) {
                pids << pid;
                break;
            }
        }
    }
    return pids;
}
