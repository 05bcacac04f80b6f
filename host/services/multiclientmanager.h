#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QMetaType>
#include <QObject>
#include <QString>

#include <array>
#include <vector>

class QProcess;
class QTimer;

/// The terminal's companion programs and the files that go with them.
enum EClinetType {
    ClientType_MiniTrade = 1,        ///< the minimal trading client
    ClientType_MiniQuote = 2,        ///< the mini quote client, window in front
    ClientType_MiniQuoteSignal = 6,  ///< only for getProcessFileQSPath: the file that wakes the mini quote client
    ClientType_MiniQuoteResident = 7 ///< the mini quote client started with the terminal, hidden until woken
};
Q_DECLARE_METATYPE(EClinetType)

/**
 * @brief Starts, watches and stops the terminal's companion programs as real processes.
 *
 * Each program runs at most once. Starting one that already runs asks the running copy to come to
 * the front instead. A companion reports on its standard output: "ready" once it is up, which the
 * manager passes on as sigOtherClientComplete(), and "awake" each time it came to the front on
 * request, which for the mini quote client is sigKPXAwaken(). A companion that lets a "raise" go
 * unanswered for answerTimeoutMs() is reported by sigClientNotAnswering(), and the next start
 * replaces it. The programs are looked up beside the running executable unless a test points
 * elsewhere. Every companion ends when the host resets or the application goes away.
 */
class TERMINALHOST_EXPORT CMultiClientManager : public QObject
{
    Q_OBJECT
public:
    static CMultiClientManager* instance();

    /// Starts the companion of the type, or raises the running copy; a running copy that stopped
    /// answering is killed and started anew. The resident mini quote client (type 7) starts hidden
    /// and is left alone when the mini quote client already runs.
    void startClientProcess(EClinetType type);
    /// True from the start request until the process ends or is asked to stop; types 2 and 7 are
    /// the same program.
    bool isClientRuning(EClinetType type) const;
    /// True once the running companion of the type reported that it is up.
    bool isClientReady(EClinetType type) const;
    /// True while the running companion of the type has let a request to come forward go unanswered
    /// for longer than answerTimeoutMs().
    bool isClientUnresponsive(EClinetType type) const;
    /// Asks the companion to end (SIGTERM) and kills it if it is still there after the grace period.
    void killProcesses(EClinetType type);

    /// The program behind a client type, or for type 6 the signal file that wakes the running mini
    /// quote client when it changes; empty for other types.
    QString getProcessFileQSPath(EClinetType type) const;
    /// The companion's process id while it runs, 0 otherwise.
    qint64 processId(EClinetType type) const;

    /// Folder the programs are looked up in; by default the running executable's folder.
    QString programDir() const;
    void setProgramDir(const QString& dir);
    /// Per-user folder of the signal file; by default the user's runtime folder.
    QString runtimeDir() const;
    void setRuntimeDir(const QString& dir);
    /// ms between the request to end and the kill.
    int killGraceMs() const { return m_killGraceMs; }
    void setKillGraceMs(int ms) { m_killGraceMs = ms; }
    /// ms a running companion has to answer "raise" with "awake".
    int answerTimeoutMs() const { return m_answerTimeoutMs; }
    void setAnswerTimeoutMs(int ms) { m_answerTimeoutMs = ms; }

    /// Ends every companion at once (waiting for each) and restores the default folders and times.
    void reset();

signals:
    /// A started companion reported that it is up.
    void sigOtherClientComplete();
    /// The mini quote client came to the front on request.
    void sigKPXAwaken();
    /// Any companion came to the front on request.
    void sigClientRaised(EClinetType type);
    /// The companion could not be started or ended before it was up; message says so in the user's words.
    void sigClientStartFailed(EClinetType type, const QString& message);
    /// The running companion did not answer a request to come forward in time; message says so in
    /// the user's words and offers the restart the next start makes.
    void sigClientNotAnswering(EClinetType type, const QString& message);

private:
    CMultiClientManager();
    struct Companion {
        QProcess* process = nullptr;
        qint64 pid = 0; ///< kept for the log: QProcess forgets it once the process ended
        EClinetType startedAs = ClientType_MiniTrade;
        bool ready = false;
        bool unresponsive = false;
        QTimer* answerDeadline = nullptr; ///< runs while a "raise" waits for its "awake"
    };
    Companion* companionOf(EClinetType type);
    const Companion* companionOf(EClinetType type) const;
    void readReports(Companion* companion);
    void onNoAnswer(Companion* companion);
    void stop(Companion* companion, bool hard);
    void onFinished(QProcess* process, int exitCode, bool crashed);
    void onFailedToStart(QProcess* process);
    void fail(EClinetType type, const QString& program, const QString& problem, const QString& logProblem);
    void terminate(QProcess* process);
    void endAll();
    static void endAllAtExit();

    std::array<Companion, 2> m_companions; ///< the minimal trading client, the mini quote client
    std::vector<QProcess*> m_stopping;     ///< asked to end, not yet gone
    QString m_programDir;
    QString m_runtimeDir;
    int m_killGraceMs = 0;
    int m_answerTimeoutMs = 0;
};
