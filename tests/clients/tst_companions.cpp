#include <childprocesses.h>
#include <logcapture.h>
#include <testmain.h>

#include <miniquote/indexquotefeed.h>

#include <terminalhost/formulamanager.h>
#include <terminalhost/multiclientmanager.h>
#include <terminalhost/quotechannelserver.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <csignal>

namespace {
constexpr int kStartTimeoutMs = 20000; // a Qt program's first start on two busy cores
constexpr int kReportTimeoutMs = 10000;
constexpr int kShortGraceMs = 300;
constexpr int kShortAnswerMs = 300;
const char kLoggerName[] = "CompanionClients";
const QString kMiniTrade = QStringLiteral("minitrade-client");
const QString kMiniQuote = QStringLiteral("miniquote-client");

CMultiClientManager* manager()
{
    return CMultiClientManager::instance();
}

QString programOf(EClinetType type)
{
    return type == ClientType_MiniTrade ? kMiniTrade : kMiniQuote;
}

bool startAndWaitUntilUp(EClinetType type)
{
    QSignalSpy complete(manager(), &CMultiClientManager::sigOtherClientComplete);
    manager()->startClientProcess(type);
    return complete.wait(kStartTimeoutMs);
}

// Touches the signal file the way the status bar's launcher does.
bool touchSignalFile()
{
    QFile file(manager()->getProcessFileQSPath(ClientType_MiniQuoteSignal));
    if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate))
        return false;
    file.close();
    return true;
}

QString writeProgram(const QTemporaryDir& dir, const QString& name, const QByteArray& content, bool executable)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    file.setPermissions(permissions);
    return path;
}
}

class TestCompanions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(manager()->getProcessFileQSPath(ClientType_MiniTrade)).isExecutable(),
                 "the companion programs are not built beside the tests");
    }

    void init()
    {
        resetHost();
        QVERIFY(m_runtime.isValid());
        manager()->setRuntimeDir(m_runtime.path());
        QFile::remove(manager()->getProcessFileQSPath(ClientType_MiniQuoteSignal));
        m_log.clear();
    }

    void cleanup()
    {
        for (EClinetType type : {ClientType_MiniTrade, ClientType_MiniQuote}) {
            if (const qint64 pid = manager()->processId(type))
                m_seen << pid;
        }
        resetHost();
        for (qint64 pid : qAsConst(m_seen))
            QVERIFY2(processGone(pid), qPrintable(QStringLiteral("companion %1 outlived its test").arg(pid)));
        QCOMPARE(childrenRunning(kMiniTrade) + childrenRunning(kMiniQuote), QList<qint64>());
        m_seen.clear();
    }

    void startsTheCompanionAndHearsThatItIsUp_data()
    {
        QTest::addColumn<EClinetType>("type");
        QTest::addColumn<bool>("resident");
        QTest::newRow("minimal trading client") << ClientType_MiniTrade << false;
        QTest::newRow("mini quote client") << ClientType_MiniQuote << false;
        QTest::newRow("mini quote client started with the terminal") << ClientType_MiniQuoteResident << true;
    }
    void startsTheCompanionAndHearsThatItIsUp()
    {
        QFETCH(EClinetType, type);
        QFETCH(bool, resident);
        QSignalSpy complete(manager(), &CMultiClientManager::sigOtherClientComplete);
        manager()->startClientProcess(type);
        QVERIFY2(manager()->isClientRuning(type), "a companion being started already counts as running");
        QVERIFY2(!manager()->isClientReady(type), "a companion only just started cannot be up yet");
        QVERIFY2(complete.wait(kStartTimeoutMs), "the companion never said it was up");
        QCOMPARE(complete.count(), 1);
        QVERIFY(manager()->isClientReady(type));

        const qint64 pid = manager()->processId(type);
        m_seen << pid;
        QCOMPARE(childrenRunning(programOf(type)), QList<qint64>{pid});
        const QStringList arguments = commandLineOf(pid);
        QVERIFY2(arguments.contains(QStringLiteral("--managed")), qPrintable(arguments.join(QLatin1Char(' '))));
        QCOMPARE(arguments.contains(QStringLiteral("--background")), resident);
        if (type != ClientType_MiniTrade) {
            QVERIFY(manager()->isClientRuning(ClientType_MiniQuote) && manager()->isClientRuning(ClientType_MiniQuoteResident));
            QVERIFY2(QFile::exists(manager()->getProcessFileQSPath(ClientType_MiniQuoteSignal)),
                     "the mini quote client did not lay out the file it watches");
            // Its four indexes, subscribed through the terminal's quote channel.
            QTRY_COMPARE(CFormulaManager::instance()->subscriptionCount(), 4);
        }
    }

    void theMiniQuoteShowsTheTerminalsQuotesOrSaysWhyNot_data()
    {
        QTest::addColumn<bool>("served");
        QTest::addColumn<QString>("channel"); // when not served
        QTest::addColumn<QString>("message"); // part of what the client says then
        QTest::newRow("the terminal's channel") << true << QString() << QString();
        QTest::newRow("run by hand") << false << QString() << QStringLiteral("no quote channel");
        QTest::newRow("a channel nobody serves") << false << QStringLiteral("quotes-gone") << QStringLiteral("quote channel quotes-gone: ");
    }
    void theMiniQuoteShowsTheTerminalsQuotesOrSaysWhyNot()
    {
        QFETCH(bool, served);
        QFETCH(QString, channel);
        QFETCH(QString, message);
        CFormulaManager* engine = CFormulaManager::instance();
        engine->publishQuote(std::make_shared<CQuoteSnapshot>(1, 20260105, "SZ399006", 2128.87, 2105.33));
        auto* feed = new CIndexQuoteFeed(served ? CQuoteChannelServer::instance()->listen() : channel, {QStringLiteral("SZ399006")});
        QSignalSpy quotes(feed, &CIndexQuoteFeed::sigQuote);
        QSignalSpy unavailable(feed, &CIndexQuoteFeed::sigUnavailable);
        feed->start();
        if (!served) {
            QTRY_COMPARE(unavailable.count(), 1);
            QVERIFY2(unavailable.at(0).at(0).toString().startsWith(message), qPrintable(unavailable.at(0).at(0).toString()));
            delete feed;
            return;
        }
        // What the engine holds comes at once, then every new quote, to the last digit.
        QTRY_COMPARE(quotes.count(), 1);
        QCOMPARE(quotes.at(0), (QVariantList{QStringLiteral("SZ399006"), 2128.87, 2105.33}));
        engine->publishQuote(std::make_shared<CQuoteSnapshot>(2, 20260105, "SZ399006", 2130.01, 2105.33));
        QTRY_COMPARE(quotes.count(), 2);
        QCOMPARE(quotes.at(1).at(1).toDouble(), 2130.01);
        delete feed; // hanging up ends the client's subscriptions
        QTRY_COMPARE(engine->subscriptionCount(), 0);
        QVERIFY(unavailable.isEmpty());
    }

    void aSecondStartRaisesTheRunningCopyInsteadOfStartingAnother_data()
    {
        QTest::addColumn<EClinetType>("first");
        QTest::addColumn<EClinetType>("second");
        QTest::addColumn<bool>("raised");
        QTest::addColumn<bool>("woken");
        QTest::newRow("minimal trading client twice") << ClientType_MiniTrade << ClientType_MiniTrade << true << false;
        QTest::newRow("mini quote client twice") << ClientType_MiniQuote << ClientType_MiniQuote << true << true;
        QTest::newRow("user start over the resident mini quote") << ClientType_MiniQuoteResident << ClientType_MiniQuote << true << true;
        QTest::newRow("resident start over a running mini quote") << ClientType_MiniQuote << ClientType_MiniQuoteResident << false << false;
    }
    void aSecondStartRaisesTheRunningCopyInsteadOfStartingAnother()
    {
        QFETCH(EClinetType, first);
        QFETCH(EClinetType, second);
        QFETCH(bool, raised);
        QFETCH(bool, woken);
        QVERIFY(startAndWaitUntilUp(first));
        const qint64 pid = manager()->processId(first);
        m_seen << pid;

        QSignalSpy complete(manager(), &CMultiClientManager::sigOtherClientComplete);
        QSignalSpy raisedSpy(manager(), &CMultiClientManager::sigClientRaised);
        QSignalSpy awaken(manager(), &CMultiClientManager::sigKPXAwaken);
        manager()->startClientProcess(second);
        if (raised) {
            QVERIFY2(raisedSpy.wait(kReportTimeoutMs), "the running copy never said it came forward");
            QCOMPARE(raisedSpy.count(), 1);
            QCOMPARE(raisedSpy.first().first().value<EClinetType>(), second == ClientType_MiniTrade ? ClientType_MiniTrade : ClientType_MiniQuote);
        }
        QCOMPARE(awaken.count(), woken ? 1 : 0);
        QCOMPARE(complete.count(), 0);
        QCOMPARE(manager()->processId(second), pid);
        QCOMPARE(childrenRunning(programOf(first)), QList<qint64>{pid});
    }

    void touchingTheSignalFileWakesTheRunningMiniQuote_data()
    {
        QTest::addColumn<EClinetType>("startedAs");
        QTest::addColumn<QString>("removedFirst");
        QTest::newRow("file truncated") << ClientType_MiniQuote << QString();
        QTest::newRow("file removed, then written anew") << ClientType_MiniQuote << QStringLiteral("file");
        QTest::newRow("runtime folder removed and made again") << ClientType_MiniQuote << QStringLiteral("folder");
        QTest::newRow("resident client, hidden until now") << ClientType_MiniQuoteResident << QString();
    }
    void touchingTheSignalFileWakesTheRunningMiniQuote()
    {
        QFETCH(EClinetType, startedAs);
        QFETCH(QString, removedFirst);
        const QString signalFile = manager()->getProcessFileQSPath(ClientType_MiniQuoteSignal);
        {
            // Left over from an earlier run: the client watches the file as it finds it.
            QFile file(signalFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("stale");
        }
        QVERIFY(startAndWaitUntilUp(startedAs));
        m_seen << manager()->processId(startedAs);
        if (removedFirst == QLatin1String("file"))
            QVERIFY(QFile::remove(signalFile));
        if (removedFirst == QLatin1String("folder")) {
            QVERIFY(QDir(m_runtime.path()).removeRecursively());
            // Once the client answers a raise it has seen the folder go: the raise came after.
            QSignalSpy raised(manager(), &CMultiClientManager::sigClientRaised);
            manager()->startClientProcess(ClientType_MiniQuote);
            QVERIFY(raised.wait(kReportTimeoutMs));
            QVERIFY(QDir().mkpath(m_runtime.path()));
        }
        QSignalSpy awaken(manager(), &CMultiClientManager::sigKPXAwaken);

        QVERIFY(touchSignalFile());
        QVERIFY2(awaken.wait(kReportTimeoutMs), "the mini quote client did not answer its signal file");
        QCOMPARE(QFileInfo(signalFile).size(), 0);
    }

    void endingTheCompanionLeavesNoProcess_data()
    {
        QTest::addColumn<EClinetType>("type");
        QTest::addColumn<bool>("wokenFirst");
        QTest::addColumn<bool>("waitUntilUp");
        QTest::newRow("mini quote before it was woken") << ClientType_MiniQuote << false << true;
        QTest::newRow("mini quote after it was woken") << ClientType_MiniQuote << true << true;
        QTest::newRow("resident mini quote") << ClientType_MiniQuoteResident << false << true;
        QTest::newRow("minimal trading client") << ClientType_MiniTrade << false << true;
        QTest::newRow("still starting") << ClientType_MiniQuote << false << false;
    }
    void endingTheCompanionLeavesNoProcess()
    {
        QFETCH(EClinetType, type);
        QFETCH(bool, wokenFirst);
        QFETCH(bool, waitUntilUp);
        QSignalSpy failed(manager(), &CMultiClientManager::sigClientStartFailed);
        if (waitUntilUp)
            QVERIFY(startAndWaitUntilUp(type));
        else
            manager()->startClientProcess(type);
        if (wokenFirst) {
            QSignalSpy awaken(manager(), &CMultiClientManager::sigKPXAwaken);
            QVERIFY(touchSignalFile());
            QVERIFY(awaken.wait(kReportTimeoutMs));
        }
        const qint64 pid = manager()->processId(type);
        QVERIFY(pid > 0);
        m_seen << pid;

        manager()->killProcesses(type);
        QVERIFY2(!manager()->isClientRuning(type), "a companion asked to end still counts as running");
        QVERIFY(!manager()->isClientReady(type));
        QCOMPARE(manager()->processId(type), qint64(0));
        QTRY_VERIFY2_WITH_TIMEOUT(processGone(pid), qPrintable(QStringLiteral("process %1 is still there").arg(pid)), kReportTimeoutMs);
        QCOMPARE(failed.count(), 0);
    }

    void aCompanionThatIgnoresTheRequestToEndIsKilledAfterTheGracePeriod()
    {
        QTemporaryDir programs;
        // Ignores SIGTERM and waits on its input with a shell builtin, so a kill leaves no child behind.
        writeProgram(programs, kMiniQuote, "#!/bin/sh\ntrap '' TERM\necho ready\nwhile read -r line; do :; done\n", true);
        manager()->setProgramDir(programs.path());
        manager()->setKillGraceMs(kShortGraceMs);
        QVERIFY(startAndWaitUntilUp(ClientType_MiniQuote));
        const qint64 pid = manager()->processId(ClientType_MiniQuote);
        m_seen << pid;

        QElapsedTimer clock;
        clock.start();
        manager()->killProcesses(ClientType_MiniQuote);
        QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), kReportTimeoutMs);
        QVERIFY2(clock.elapsed() >= kShortGraceMs, "the process ended before the grace period, so SIGTERM was not ignored");
    }

    void aCompanionThatStopsOrCrashesIsNoticed_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("warning");
        QTest::newRow("stopped: unanswered, then replaced") << int(SIGSTOP) << QStringLiteral(") did not answer within");
        QTest::newRow("killed: a crash") << int(SIGKILL) << QStringLiteral(") crashed: signal 9");
    }
    void aCompanionThatStopsOrCrashesIsNoticed()
    {
        QFETCH(int, signal);
        QFETCH(QString, warning);
        manager()->setAnswerTimeoutMs(kShortAnswerMs);
        QVERIFY(startAndWaitUntilUp(ClientType_MiniQuote));
        const qint64 pid = manager()->processId(ClientType_MiniQuote);
        m_seen << pid;
        QSignalSpy notAnswering(manager(), &CMultiClientManager::sigClientNotAnswering);
        QVERIFY(::kill(pid, signal) == 0);
        if (signal == SIGSTOP) {
            manager()->startClientProcess(ClientType_MiniQuote);
            QVERIFY2(notAnswering.wait(kReportTimeoutMs), "a stopped companion still counts as answering");
            QVERIFY(manager()->isClientUnresponsive(ClientType_MiniQuote));
            QVERIFY(startAndWaitUntilUp(ClientType_MiniQuote));
            m_seen << manager()->processId(ClientType_MiniQuote);
            QTRY_VERIFY2(processGone(pid), "the next start did not replace the stopped companion");
        } else {
            QTRY_VERIFY(!manager()->isClientRuning(ClientType_MiniQuote));
            QCOMPARE(notAnswering.count(), 0);
        }
        const QStringList warnings = m_log.lines().filter(QStringLiteral("WARN "));
        const QString expected = QStringLiteral("%1 (pid %2").arg(manager()->getProcessFileQSPath(ClientType_MiniQuote)).arg(pid) + warning;
        QVERIFY2(!warnings.isEmpty() && warnings.first().contains(expected), qPrintable(m_log.lines().join(QLatin1Char('\n'))));
    }

    void aProgramThatCannotStartSaysSo_data()
    {
        QTest::addColumn<EClinetType>("type");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("executable");
        QTest::addColumn<QString>("userText");
        QTest::addColumn<QString>("logText");
        QTest::newRow("missing") << ClientType_MiniTrade << QByteArray() << false << QStringLiteral("极简交易启动失败：找不到程序")
                                 << QStringLiteral("program not found");
        QTest::newRow("not executable") << ClientType_MiniQuote << QByteArray("#!/bin/sh\necho ready\n") << false
                                        << QStringLiteral("miniQuote启动失败：无法运行") << QString();
        QTest::newRow("ends before it is up") << ClientType_MiniQuoteResident << QByteArray("#!/bin/sh\nexit 3\n") << true
                                              << QStringLiteral("miniQuote启动失败：程序在启动完成前退出（退出码 3）")
                                              << QStringLiteral("exited with code 3 before it was up");
    }
    void aProgramThatCannotStartSaysSo()
    {
        QFETCH(EClinetType, type);
        QFETCH(QByteArray, content);
        QFETCH(bool, executable);
        QFETCH(QString, userText);
        QFETCH(QString, logText);
        QTemporaryDir programs;
        manager()->setProgramDir(programs.path());
        const QString program = manager()->getProcessFileQSPath(type);
        if (!content.isEmpty())
            writeProgram(programs, QFileInfo(program).fileName(), content, executable);

        QSignalSpy failed(manager(), &CMultiClientManager::sigClientStartFailed);
        QSignalSpy complete(manager(), &CMultiClientManager::sigOtherClientComplete);
        manager()->startClientProcess(type);
        QVERIFY(!failed.isEmpty() || failed.wait(kReportTimeoutMs));
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.first().at(0).value<EClinetType>(), type);
        const QString message = failed.first().at(1).toString();
        QVERIFY2(message.startsWith(userText), qPrintable(message));
        QVERIFY(!manager()->isClientRuning(type));
        QCOMPARE(complete.count(), 0);

        const QStringList warnings = m_log.lines().filter(QStringLiteral("WARN could not start ") + program);
        QVERIFY2(warnings.size() == 1, qPrintable(m_log.lines().join(QLatin1Char('\n'))));
        QVERIFY2(warnings.first().contains(logText), qPrintable(warnings.first()));
    }

    void resetEndsEveryCompanionAtOnce()
    {
        QVERIFY(startAndWaitUntilUp(ClientType_MiniTrade));
        QVERIFY(startAndWaitUntilUp(ClientType_MiniQuote));
        const QList<qint64> pids{manager()->processId(ClientType_MiniTrade), manager()->processId(ClientType_MiniQuote)};
        m_seen += pids;
        resetHost();
        for (qint64 pid : pids)
            QVERIFY2(processGone(pid), qPrintable(QStringLiteral("process %1 survived the reset").arg(pid)));
        QVERIFY(!manager()->isClientRuning(ClientType_MiniTrade) && !manager()->isClientRuning(ClientType_MiniQuote));
    }

    void aCompanionQuitsWhenTheTerminalGoesAway_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("minimal trading client") << kMiniTrade << QStringList{QStringLiteral("--managed")};
        QTest::newRow("mini quote client") << kMiniQuote
                                           << QStringList{QStringLiteral("--managed"), QStringLiteral("--signal-file"),
                                                          m_runtime.filePath(QStringLiteral("own.signal"))};
    }
    void aCompanionQuitsWhenTheTerminalGoesAway()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QProcess companion;
        companion.start(manager()->programDir() + QLatin1Char('/') + program, arguments);
        QVERIFY(companion.waitForReadyRead(kStartTimeoutMs));
        QCOMPARE(companion.readLine().trimmed(), QByteArray("ready"));
        // What the kernel does to the pipe when the terminal exits or crashes.
        companion.closeWriteChannel();
        QVERIFY2(companion.waitForFinished(kReportTimeoutMs), "the companion outlived its terminal");
        QCOMPARE(companion.exitStatus(), QProcess::NormalExit);
        QCOMPARE(companion.exitCode(), 0);
    }

private:
    QTemporaryDir m_runtime;
    QList<qint64> m_seen; ///< every companion a test saw, checked gone after it
    LogCapture m_log{kLoggerName};
};

STATUSBAR_TEST_MAIN(TestCompanions)
#include "tst_companions.moc"
