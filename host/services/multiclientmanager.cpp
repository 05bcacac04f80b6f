#include "multiclientmanager.h"

#include <terminalhost/companionprotocol.h>
#include <terminalhost/quotechannelserver.h>
#include <terminalhost/uiresource.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <log4cxx/logger.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <string>
#include <utility>

namespace {
constexpr int kDefaultKillGraceMs = 2000;
constexpr int kDefaultAnswerTimeoutMs = 5000; // a running companion comes forward in well under a second
const char kLoggerName[] = "CompanionClients";
const char kMiniTradeProgram[] = "minitrade-client";
const char kMiniQuoteProgram[] = "miniquote-client";
const char kSignalFileName[] = "miniquote.signal";
constexpr std::size_t kMiniTradeIndex = 0;
constexpr std::size_t kMiniQuoteIndex = 1;

CMultiClientManager* g_manager = nullptr;

log4cxx::LoggerPtr logger()
{
    return log4cxx::Logger::getLogger(kLoggerName);
}

// The name the user knows the companion by, as the status bar's launchers show it.
QString displayName(EClinetType type)
{
    return type == ClientType_MiniTrade ? QStringLiteral("极简交易") : QStringLiteral("miniQuote");
}

QString option(const char* name)
{
    return QStringLiteral("--") + QLatin1String(name);
}

// "signal 9 (Killed)": what ended a crashed process, for the log.
std::string signalText(int signal)
{
    return "signal " + std::to_string(signal) + " (" + ::strsignal(signal) + ')';
}
}

CMultiClientManager* CMultiClientManager::instance()
{
    if (!g_manager) {
        g_manager = new CMultiClientManager; // lives for the process, like the terminal's
        // The companions go with the application, however it ends its main().
        qAddPostRoutine(&CMultiClientManager::endAllAtExit);
    }
    return g_manager;
}

CMultiClientManager::CMultiClientManager()
{
    qRegisterMetaType<EClinetType>("EClinetType");
    for (Companion& companion : m_companions) {
        companion.answerDeadline = new QTimer(this);
        companion.answerDeadline->setSingleShot(true);
        connect(companion.answerDeadline, &QTimer::timeout, this, [this, &companion] { onNoAnswer(&companion); });
    }
    reset();
}

CMultiClientManager::Companion* CMultiClientManager::companionOf(EClinetType type)
{
    return const_cast<Companion*>(std::as_const(*this).companionOf(type));
}

const CMultiClientManager::Companion* CMultiClientManager::companionOf(EClinetType type) const
{
    switch (type) {
    case ClientType_MiniTrade:
        return &m_companions[kMiniTradeIndex];
    case ClientType_MiniQuote:
    case ClientType_MiniQuoteResident:
        return &m_companions[kMiniQuoteIndex];
    default:
        return nullptr;
    }
}

void CMultiClientManager::startClientProcess(EClinetType type)
{
    Companion* companion = companionOf(type);
    if (!companion) {
        LOG4CXX_WARN(logger(), "no companion program for client type " << static_cast<int>(type));
        return;
    }
    if (companion->process) {
        // The resident start only makes sure the program is there; a user's start brings it forward.
        if (type == ClientType_MiniQuoteResident)
            return;
        if (!companion->unresponsive) {
            companion->process->write(QByteArray(CompanionProtocol::kRaiseCommand) + '\n');
            // The deadline runs from the oldest request still unanswered.
            if (!companion->answerDeadline->isActive())
                companion->answerDeadline->start(m_answerTimeoutMs);
            return;
        }
        LOG4CXX_WARN(logger(), "replacing " << companion->process->program().toStdString() << " (pid " << companion->pid
                                            << "), which stopped answering");
        // It answers nothing, so it is not asked to end: it goes at once, before the fresh copy starts.
        stop(companion, true);
    }

    const QString program = getProcessFileQSPath(type);
    if (!QFileInfo::exists(program)) {
        fail(type, program, QStringLiteral("找不到程序 %1").arg(program), QStringLiteral("program not found"));
        return;
    }
    QStringList arguments{option(CompanionProtocol::kManagedOption), option(CompanionProtocol::kThemeOption),
                          CUiResource::instance()->themeName()};
    if (companion == &m_companions[kMiniQuoteIndex]) {
        arguments << option(CompanionProtocol::kSignalFileOption) << getProcessFileQSPath(ClientType_MiniQuoteSignal);
        // The mini quote client shows the terminal's own quotes; without the channel it says so.
        QString error;
        const QString channel = CQuoteChannelServer::instance()->listen(&error);
        if (channel.isEmpty())
            LOG4CXX_WARN(logger(), error.toStdString());
        else
            arguments << option(CompanionProtocol::kQuoteChannelOption) << channel;
    }
    if (type == ClientType_MiniQuoteResident)
        arguments << option(CompanionProtocol::kBackgroundOption);

    auto* process = new QProcess(this);
    process->setProgram(program);
    process->setArguments(arguments);
    // Reports come on stdout; whatever the companion warns about goes to the terminal's own stderr.
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(process, &QProcess::readyReadStandardOutput, this, [this, process] {
        for (Companion& running : m_companions) {
            if (running.process == process)
                readReports(&running);
        }
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onFailedToStart(process);
    });
    connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            [this, process](int exitCode, QProcess::ExitStatus status) { onFinished(process, exitCode, status == QProcess::CrashExit); });
    companion->process = process;
    companion->startedAs = type;
    companion->ready = false;
    LOG4CXX_INFO(logger(), "starting " << program.toStdString() << ' ' << arguments.join(QLatin1Char(' ')).toStdString());
    process->start();
    companion->pid = process->processId();
}

bool CMultiClientManager::isClientRuning(EClinetType type) const
{
    const Companion* companion = companionOf(type);
    return companion && companion->process;
}

bool CMultiClientManager::isClientReady(EClinetType type) const
{
    const Companion* companion = companionOf(type);
    return companion && companion->process && companion->ready;
}

bool CMultiClientManager::isClientUnresponsive(EClinetType type) const
{
    const Companion* companion = companionOf(type);
    return companion && companion->process && companion->unresponsive;
}

void CMultiClientManager::killProcesses(EClinetType type)
{
    Companion* companion = companionOf(type);
    if (companion && companion->process)
        stop(companion, false);
}

void CMultiClientManager::stop(Companion* companion, bool hard)
{
    QProcess* process = std::exchange(companion->process, nullptr);
    companion->ready = false;
    companion->unresponsive = false;
    companion->answerDeadline->stop();
    m_stopping.push_back(process);
    LOG4CXX_INFO(logger(), "ending " << process->program().toStdString() << " (pid " << companion->pid << ')');
    if (hard) {
        process->kill();
        return;
    }
    terminate(process);
    QTimer::singleShot(m_killGraceMs, process, [process] {
        if (process->state() != QProcess::NotRunning)
            process->kill();
    });
}

QString CMultiClientManager::getProcessFileQSPath(EClinetType type) const
{
    switch (type) {
    case ClientType_MiniTrade:
        return programDir() + QLatin1Char('/') + QLatin1String(kMiniTradeProgram);
    case ClientType_MiniQuote:
    case ClientType_MiniQuoteResident:
        return programDir() + QLatin1Char('/') + QLatin1String(kMiniQuoteProgram);
    case ClientType_MiniQuoteSignal:
        return runtimeDir() + QLatin1Char('/') + QLatin1String(kSignalFileName);
    }
    return {};
}

qint64 CMultiClientManager::processId(EClinetType type) const
{
    const Companion* companion = companionOf(type);
    return companion && companion->process ? companion->process->processId() : 0;
}

QString CMultiClientManager::programDir() const
{
    return m_programDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_programDir;
}

void CMultiClientManager::setProgramDir(const QString& dir)
{
    m_programDir = dir;
}

QString CMultiClientManager::runtimeDir() const
{
    return m_runtimeDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : m_runtimeDir;
}

void CMultiClientManager::setRuntimeDir(const QString& dir)
{
    m_runtimeDir = dir;
}

void CMultiClientManager::reset()
{
    endAll();
    m_programDir.clear();
    m_runtimeDir.clear();
    m_killGraceMs = kDefaultKillGraceMs;
    m_answerTimeoutMs = kDefaultAnswerTimeoutMs;
}

void CMultiClientManager::readReports(Companion* companion)
{
    const bool miniQuote = companion == &m_companions[kMiniQuoteIndex];
    while (companion->process && companion->process->canReadLine()) {
        const QByteArray report = companion->process->readLine().trimmed();
        if (report == CompanionProtocol::kReadyReport && !companion->ready) {
            companion->ready = true;
            LOG4CXX_INFO(logger(), companion->process->program().toStdString() << " is up (pid " << companion->process->processId() << ')');
            emit sigOtherClientComplete();
        } else if (report == CompanionProtocol::kAwakeReport) {
            companion->answerDeadline->stop();
            if (std::exchange(companion->unresponsive, false))
                LOG4CXX_INFO(logger(), companion->process->program().toStdString() << " (pid " << companion->pid << ") answers again");
            emit sigClientRaised(miniQuote ? ClientType_MiniQuote : ClientType_MiniTrade);
            if (miniQuote)
                emit sigKPXAwaken();
        }
    }
}

void CMultiClientManager::onNoAnswer(Companion* companion)
{
    if (!companion->process)
        return;
    companion->unresponsive = true;
    const EClinetType type = companion == &m_companions[kMiniQuoteIndex] ? ClientType_MiniQuote : ClientType_MiniTrade;
    LOG4CXX_WARN(logger(), companion->process->program().toStdString() << " (pid " << companion->pid << ") did not answer within "
                                                                       << m_answerTimeoutMs << " ms; the next start replaces it");
    emit sigClientNotAnswering(type, QStringLiteral("%1未响应，再次点击将重新启动").arg(displayName(type)));
}

void CMultiClientManager::onFinished(QProcess* process, int exitCode, bool crashed)
{
    const auto stopping = std::find(m_stopping.begin(), m_stopping.end(), process);
    if (stopping != m_stopping.end()) {
        m_stopping.erase(stopping);
        LOG4CXX_INFO(logger(), process->program().toStdString() << " ended");
        process->deleteLater();
        return;
    }
    for (Companion& companion : m_companions) {
        if (companion.process != process)
            continue;
        companion.process = nullptr;
        companion.answerDeadline->stop();
        // A crash reports the signal that ended the process where an exit reports its code.
        if (!companion.ready) {
            if (crashed)
                fail(companion.startedAs, process->program(), QStringLiteral("程序在启动完成前异常结束"),
                     QStringLiteral("crashed with %1 before it was up").arg(QString::fromStdString(signalText(exitCode))));
            else
                fail(companion.startedAs, process->program(), QStringLiteral("程序在启动完成前退出（退出码 %1）").arg(exitCode),
                     QStringLiteral("exited with code %1 before it was up").arg(exitCode));
        } else if (crashed) {
            LOG4CXX_WARN(logger(), process->program().toStdString() << " (pid " << companion.pid << ") crashed: " << signalText(exitCode));
        } else {
            LOG4CXX_INFO(logger(), process->program().toStdString() << " (pid " << companion.pid << ") ended with code " << exitCode);
        }
        companion.ready = false;
        companion.unresponsive = false;
    }
    process->deleteLater();
}

void CMultiClientManager::onFailedToStart(QProcess* process)
{
    const QString problem = process->errorString();
    m_stopping.erase(std::remove(m_stopping.begin(), m_stopping.end(), process), m_stopping.end());
    for (Companion& companion : m_companions) {
        if (companion.process != process)
            continue;
        companion.process = nullptr;
        fail(companion.startedAs, process->program(), QStringLiteral("无法运行 %1（%2）").arg(process->program(), problem), problem);
    }
    process->deleteLater();
}

void CMultiClientManager::fail(EClinetType type, const QString& program, const QString& problem, const QString& logProblem)
{
    LOG4CXX_WARN(logger(), "could not start " << program.toStdString() << ": " << logProblem.toStdString());
    emit sigClientStartFailed(type, QStringLiteral("%1启动失败：%2").arg(displayName(type), problem));
}

void CMultiClientManager::endAll()
{
    std::vector<QProcess*> processes = std::exchange(m_stopping, {});
    for (Companion& companion : m_companions) {
        if (companion.process)
            processes.push_back(std::exchange(companion.process, nullptr));
        companion.ready = false;
        companion.unresponsive = false;
        companion.answerDeadline->stop();
    }
    for (QProcess* process : processes) {
        disconnect(process, nullptr, this, nullptr);
        if (process->state() != QProcess::NotRunning) {
            terminate(process);
            if (!process->waitForFinished(m_killGraceMs)) {
                process->kill();
                process->waitForFinished();
            }
        }
        delete process;
    }
}

void CMultiClientManager::terminate(QProcess* process)
{
    // Until its exec the child still runs this program's code with this program's signal
    // handlers, which must not see the request to end; the exec itself takes milliseconds.
    if (process->state() == QProcess::Starting)
        process->waitForStarted(m_killGraceMs);
    process->terminate();
    // A stopped companion would hold the request until something lets it run again.
    if (const qint64 pid = process->processId())
        ::kill(static_cast<pid_t>(pid), SIGCONT);
}

void CMultiClientManager::endAllAtExit()
{
    if (g_manager)
        g_manager->endAll();
}
