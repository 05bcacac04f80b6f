#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

/**
 * @brief A companion's line to the terminal that started it: reports go out on standard output,
 * commands come in on standard input.
 *
 * A companion run by hand has no terminal: it reports nothing and reads nothing.
 */
class CCompanionChannel : public QObject
{
    Q_OBJECT
public:
    explicit CCompanionChannel(bool managed, QObject* parent = nullptr);

    void reportReady();
    void reportAwake();

signals:
    /// The terminal asks for the window to come to the front.
    void sigRaiseRequested();
    /// The terminal closed its end: it has quit or died.
    void sigTerminalGone();

private:
    void readCommands();
    void report(const char* line);

    bool m_managed = false;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_pending; ///< a command not yet ended by its newline
};
