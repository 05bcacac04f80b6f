#include <childprocesses.h>
#include <logcapture.h>
#include <shownrect.h>
#include <testmain.h>

#include <statusbar/clientfeedbackwidget.h>
#include <statusbar/clienttipwidget.h>
#include <statusbar/fittingpass.h>
#include <statusbar/itemframe.h>
#include <statusbar/miniquoteclientwidget.h>
#include <statusbar/otherclientwidget.h>
#include <statusbar/statusbar.h>
#include <statusbar/noticewidget.h>
#include <statusbar/statusbar_p.h>

#include <terminalhost/advicefeedbackdialog.h>
#include <terminalhost/appconfig.h>
#include <terminalhost/config.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/messagetip.h>
#include <terminalhost/multiclientmanager.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QDesktopServices>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <csignal>
#include <memory>

namespace {
constexpr int kBarHeight = 24;
constexpr int kStartTimeoutMs = 20000; // a Qt program's first start on two busy cores
constexpr int kReportTimeoutMs = 10000;
constexpr int kShortAnswerMs = 300;
const QString kMiniTrade = QStringLiteral("minitrade-client");
const QString kMiniQuote = QStringLiteral("miniquote-client");
const QString kStarting = QStringLiteral("启动中...");
const QStringList kLauncherRight{QStringLiteral("mdl_auth"), QStringLiteral("mdl_auth_tolvex")};
const QStringList kServiceDeskRight{QStringLiteral("mdl_itsm"), QStringLiteral("mdl_itsm_system_user_feed_back")};
const QStringList kWebFeedbackRight{QStringLiteral("mdl_auth"), QStringLiteral("mdl_auth_goto_advice_feed_back_url")};

CMultiClientManager* manager()
{
    return CMultiClientManager::instance();
}

// A companion in a few lines of shell: it notes each start beside itself, says it is up unless a
// ".silent" file lies beside it, and answers the manager's "raise" as a companion does.
void writeCompanion(const QString& dir, const QString& name)
{
    const QString path = dir + QLatin1Char('/') + name;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n"
               "echo \"$*\" >> \"$0.starts\"\n"
               "[ -e \"$0.silent\" ] || echo ready\n"
               "while read -r line; do [ \"$line\" = raise ] && echo awake; done\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void keepSilent(const QString& dir, const QString& name)
{
    QFile marker(dir + QLatin1Char('/') + name + QStringLiteral(".silent"));
    QVERIFY(marker.open(QIODevice::WriteOnly));
}

// The arguments of each start of the scripted companion, one line per start.
QStringList startsOf(const QString& dir, const QString& name)
{
    QFile log(dir + QLatin1Char('/') + name + QStringLiteral(".starts"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The texts of the message tips shown for owner.
QStringList tipsShownFor(const QWidget* owner)
{
    QStringList texts;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const auto* tip = qobject_cast<CMessageTip*>(window);
        if (tip && tip->isVisible() && tip->widget() == owner)
            texts << tip->content();
    }
    return texts;
}

struct Terminal {
    int clientType = 0;
    bool launcherFlag = false;
    bool miniLogin = false;
    bool miniQuoteRight = false;
    bool varno = false;
    bool serviceDesk = false;
};

void configure(const Terminal& terminal)
{
    CAppConfig::setClientType(terminal.clientType);
    getConfig()->setShowClientLauncher(terminal.launcherFlag);
    getUserConfig()->setUseMiniLogin(terminal.miniLogin);
    LuaModuleCtrl::setModule(kLauncherRight, terminal.miniQuoteRight);
    getUserConfig()->setVarnoClientMode(terminal.varno);
    LuaModuleCtrl::setModule(kServiceDeskRight, terminal.serviceDesk);
}

// A status bar along the top of a shown window.
struct ShownBar {
    QWidget window;
    CStatusBar* bar = nullptr;

    explicit ShownBar(int width = 1280)
    {
        window.setGeometry(60, 300, width, 2 * kBarHeight);
        bar = new CStatusBar(&window);
        bar->setGeometry(0, kBarHeight, width, kBarHeight);
        window.show();
    }
    COtherClientWidget* miniTrade() const { return CStatusBarPrivate::get(bar)->otherClient; }
    CMiniQuoteClientWidget* miniQuote() const { return CStatusBarPrivate::get(bar)->miniQuoteClient; }
    CClientFeedBackWidget* feedback() const { return CStatusBarPrivate::get(bar)->feedback; }
};

QString nameOf(const QWidget* widget)
{
    if (qobject_cast<const CMiniQuoteClientWidget*>(widget))
        return QStringLiteral("mini quote");
    if (qobject_cast<const COtherClientWidget*>(widget))
        return QStringLiteral("mini trade");
    if (qobject_cast<const CClientFeedBackWidget*>(widget))
        return QStringLiteral("feedback");
    if (const auto* image = qobject_cast<const CImageWidget*>(widget))
        return image->imageKey() == QLatin1String("img_toolbar_seperator") ? QStringLiteral("separator") : QString();
    return widget->metaObject()->className();
}

QStringList registeredNames(CStatusBar* bar)
{
    QStringList names;
    for (const CStatusBarPrivate::Registered& entry : CStatusBarPrivate::get(bar)->registered)
        names << nameOf(entry.item);
    return names;
}

// The bar's visible widgets from left to right.
QList<QWidget*> rowOf(const CStatusBar* bar)
{
    QList<QWidget*> row = bar->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    row.erase(std::remove_if(row.begin(), row.end(), [](QWidget* w) { return w->isHidden() || w->isWindow(); }), row.end());
    std::stable_sort(row.begin(), row.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    return row;
}

int imageWidth(const char* key)
{
    return CUiResource::instance()->getImageSize(QLatin1String(key)).width();
}

int labelWidth()
{
    return CSimpleText::getSize(QStringLiteral("客服"), QStringLiteral("fnt_default_normal_fix")).width();
}

// Receives what QDesktopServices would hand to the desktop browser.
class BrowserStandIn : public QObject
{
    Q_OBJECT
public:
    BrowserStandIn()
    {
        for (const char* scheme : {"http", "https"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
    }
    ~BrowserStandIn() override
    {
        for (const char* scheme : {"http", "https"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

CAdviceFeedBackDialog* shownFeedbackDialog()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<CAdviceFeedBackDialog*>(window); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}
}

Q_DECLARE_METATYPE(Terminal)

class TestClientItems : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        resetHost();
        m_programs = std::make_unique<QTemporaryDir>();
        QVERIFY(m_programs->isValid() && m_runtime.isValid());
        // No test starts a real companion unless it points the manager back at the built programs.
        manager()->setProgramDir(m_programs->path());
        manager()->setRuntimeDir(m_runtime.path());
        QFile::remove(manager()->getProcessFileQSPath(ClientType_MiniQuoteSignal));
        CAdviceFeedBackDialog::setFeedbackDir(m_runtime.filePath(QStringLiteral("feedback")));
    }

    void cleanup()
    {
        QList<qint64> seen;
        for (EClinetType type : {ClientType_MiniTrade, ClientType_MiniQuote}) {
            if (const qint64 pid = manager()->processId(type))
                seen << pid;
        }
        resetHost();
        for (qint64 pid : qAsConst(seen))
            QVERIFY2(processGone(pid), qPrintable(QStringLiteral("companion %1 outlived its test").arg(pid)));
        QCOMPARE(childrenRunning(kMiniTrade) + childrenRunning(kMiniQuote), QList<qint64>());
    }

    void aPressStartsTheCompanionOrSaysItRuns_data()
    {
        QTest::addColumn<bool>("miniQuote");
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<QString>("tipText");
        QTest::newRow("minimal trading client, not running") << false << false << false << QString();
        QTest::newRow("minimal trading client, running") << false << true << false << QStringLiteral("极简交易正在运行");
        QTest::newRow("minimal trading client, stopped") << false << true << true << QStringLiteral("极简交易未响应，再次点击将重新启动");
        QTest::newRow("mini quote client, not running") << true << false << false << QString();
        QTest::newRow("mini quote client, running") << true << true << false << QStringLiteral("miniQuote正在运行");
        QTest::newRow("mini quote client, stopped") << true << true << true << QStringLiteral("miniQuote未响应，再次点击将重新启动");
    }
    void aPressStartsTheCompanionOrSaysItRuns()
    {
        QFETCH(bool, miniQuote);
        QFETCH(bool, running);
        QFETCH(bool, stopped);
        QFETCH(QString, tipText);
        const QString program = miniQuote ? kMiniQuote : kMiniTrade;
        const EClinetType type = miniQuote ? ClientType_MiniQuote : ClientType_MiniTrade;
        writeCompanion(m_programs->path(), program);
        configure({0, !miniQuote, false, miniQuote});
        QSignalSpy complete(manager(), &CMultiClientManager::sigOtherClientComplete);
        QSignalSpy raised(manager(), &CMultiClientManager::sigClientRaised);
        ShownBar shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        COtherClientWidget* launcher = miniQuote ? shown.miniQuote() : shown.miniTrade();
        QVERIFY(launcher);
        if (miniQuote) {
            // The bar started the resident mini quote client with itself.
            QTRY_VERIFY_WITH_TIMEOUT(!complete.isEmpty(), kReportTimeoutMs);
            if (!running)
                manager()->killProcesses(ClientType_MiniQuote);
        } else if (running) {
            manager()->startClientProcess(ClientType_MiniTrade);
            QVERIFY(!complete.isEmpty() || complete.wait(kReportTimeoutMs));
        }
        CTradeClient::instance()->setNotStopLevel2(false);
        const QString signalFile = manager()->getProcessFileQSPath(ClientType_MiniQuoteSignal);
        {
            QFile file(signalFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("left over");
        }
        const int startsBefore = startsOf(m_programs->path(), program).size();
        complete.clear();

        QTest::mousePress(launcher, Qt::RightButton, {}, QPoint(3, 3));
        QCOMPARE(tipsShownFor(launcher), QStringList());
        QCOMPARE(manager()->isClientRuning(type), running);
        QVERIFY(!CTradeClient::instance()->notStopLevel2());
        const qint64 pidBefore = manager()->processId(type);
        if (stopped) {
            // A raise to a stopped companion goes unanswered: the launcher says so.
            manager()->setAnswerTimeoutMs(kShortAnswerMs);
            QVERIFY(::kill(pidBefore, SIGSTOP) == 0);
            manager()->startClientProcess(type);
            QTRY_COMPARE_WITH_TIMEOUT(tipsShownFor(launcher), QStringList{tipText}, kReportTimeoutMs);
        }

        QTest::mousePress(launcher, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(launcher->frame().look(), CItemFrame::Pressed);
        QVERIFY2(CTradeClient::instance()->notStopLevel2(), "the terminal should keep its level-2 quotes for the companion");
        QVERIFY(manager()->isClientRuning(type));
        CClientTipWidget* startingTip = miniQuote ? shown.miniQuote()->miniQuoteTip() : launcher->tip();
        if (running && !stopped) {
            QCOMPARE(tipsShownFor(launcher), QStringList{tipText});
            QVERIFY2(!raised.isEmpty() || raised.wait(kReportTimeoutMs), "the press did not ask the running companion to come forward");
            QCOMPARE(startsOf(m_programs->path(), program).size(), startsBefore);
            QCOMPARE(QFileInfo(signalFile).size(), miniQuote ? 0 : 9);
            QVERIFY(!startingTip || !startingTip->isVisible());
        } else {
            QCOMPARE(tipsShownFor(launcher), QStringList{kStarting});
            QVERIFY(startingTip && startingTip->isVisible());
            const QRect icon(launcher->mapToGlobal(QPoint(0, 0)), launcher->size());
            QVERIFY2(startingTip->geometry().bottom() < icon.top() && startingTip->x() == icon.x(), "the tip is not above the icon");
            QVERIFY(!complete.isEmpty() || complete.wait(kReportTimeoutMs));
            QVERIFY2(!startingTip->isVisible(), "the starting tip outlived the companion's start");
            QCOMPARE(startsOf(m_programs->path(), program).size(), startsBefore + 1);
            QCOMPARE(QFileInfo(signalFile).size(), 9);
            QTRY_VERIFY2(processGone(pidBefore), "the stopped companion was not replaced");
        }
    }

    void aCompanionComingUpHidesBothStartingTips_data()
    {
        QTest::addColumn<QString>("upFirst");
        QTest::newRow("the minimal trading client comes up") << kMiniTrade;
        QTest::newRow("the mini quote client comes up") << kMiniQuote;
    }
    void aCompanionComingUpHidesBothStartingTips()
    {
        QFETCH(QString, upFirst);
        for (const QString& program : {kMiniTrade, kMiniQuote}) {
            writeCompanion(m_programs->path(), program);
            keepSilent(m_programs->path(), program);
        }
        configure({0, true, false, true});
        ShownBar shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        QTest::mouseClick(shown.miniTrade(), Qt::LeftButton);
        QTRY_VERIFY2(shown.miniQuote()->miniQuoteTip() && shown.miniQuote()->miniQuoteTip()->isVisible(),
                     "the resident start shows no tip once the bar is on screen");
        QVERIFY(shown.miniTrade()->tip()->isVisible());

        // The companion that comes up is started again, this time one that reports.
        QVERIFY(QFile::remove(m_programs->filePath(upFirst + QStringLiteral(".silent"))));
        QSignalSpy complete(manager(), &CMultiClientManager::sigOtherClientComplete);
        if (upFirst == kMiniTrade) {
            manager()->killProcesses(ClientType_MiniTrade);
            QTest::mouseClick(shown.miniTrade(), Qt::LeftButton);
        } else {
            manager()->killProcesses(ClientType_MiniQuote);
            QTest::mouseClick(shown.miniQuote(), Qt::LeftButton);
        }
        QVERIFY(!complete.isEmpty() || complete.wait(kReportTimeoutMs));
        QCOMPARE(complete.count(), 1);
        QVERIFY(!shown.miniTrade()->tip()->isVisible());
        QVERIFY(!shown.miniQuote()->miniQuoteTip()->isVisible());
    }

    void aFailedStartSaysWhyAndTheNextPressTriesAgain()
    {
        configure({0, true});
        QSignalSpy failed(manager(), &CMultiClientManager::sigClientStartFailed);
        ShownBar shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        COtherClientWidget* launcher = shown.miniTrade();
        for (int press = 1; press <= 2; ++press) {
            QTest::mouseClick(launcher, Qt::LeftButton);
            QCOMPARE(failed.count(), press);
            const QString message = failed.last().at(1).toString();
            QVERIFY2(message.startsWith(QStringLiteral("极简交易启动失败：找不到程序")), qPrintable(message));
            QCOMPARE(tipsShownFor(launcher), QStringList{message});
            QVERIFY(!manager()->isClientRuning(ClientType_MiniTrade));
        }
    }

    void aResidentStartThatFailsIsShownOnceTheBarIs()
    {
        configure({0, false, false, true});
        QSignalSpy failed(manager(), &CMultiClientManager::sigClientStartFailed);
        QWidget window;
        window.setGeometry(60, 300, 1280, 2 * kBarHeight);
        auto* bar = new CStatusBar(&window);
        bar->setGeometry(0, kBarHeight, 1280, kBarHeight);
        CMiniQuoteClientWidget* launcher = CStatusBarPrivate::get(bar)->miniQuoteClient;
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.first().at(0).value<EClinetType>(), ClientType_MiniQuoteResident);
        QCOMPARE(tipsShownFor(launcher), QStringList());
        window.show();
        QTRY_COMPARE(tipsShownFor(launcher), QStringList{failed.first().at(1).toString()});
    }

    void theBarStartsTheResidentMiniQuoteClientOnce()
    {
        writeCompanion(m_programs->path(), kMiniQuote);
        keepSilent(m_programs->path(), kMiniQuote);
        configure({0, false, false, true});
        QWidget window;
        window.setGeometry(60, 300, 1280, 2 * kBarHeight);
        auto* bar = new CStatusBar(&window);
        bar->setGeometry(0, kBarHeight, 1280, kBarHeight);
        CMiniQuoteClientWidget* launcher = CStatusBarPrivate::get(bar)->miniQuoteClient;
        QVERIFY(manager()->isClientRuning(ClientType_MiniQuoteResident));
        QVERIFY(CTradeClient::instance()->notStopLevel2());
        QVERIFY2(launcher->miniQuoteTip() && launcher->miniQuoteTip()->isPending(), "an unshown bar shows no tip yet");
        QVERIFY(!launcher->miniQuoteTip()->isVisible());
        window.show();
        QTRY_COMPARE(tipsShownFor(launcher), QStringList{kStarting});
        QTRY_COMPARE(startsOf(m_programs->path(), kMiniQuote).size(), 1);
        QVERIFY(startsOf(m_programs->path(), kMiniQuote).first().contains(QStringLiteral("--background")));

        // A second bar, as the terminal builds after a configuration change, leaves the running client
        // alone: no tip, no wake-up, no second process.
        const QString signalFile = manager()->getProcessFileQSPath(ClientType_MiniQuoteSignal);
        QFile::remove(signalFile);
        CStatusBar laterBar(nullptr);
        QVERIFY(!CStatusBarPrivate::get(&laterBar)->miniQuoteClient->miniQuoteTip());
        QVERIFY(!QFile::exists(signalFile));
        QCOMPARE(childrenRunning(kMiniQuote).size(), 1);
    }

    void killProcessesEndsTheMiniQuoteClientOnlyOnceWoken_data()
    {
        QTest::addColumn<bool>("woken");
        QTest::newRow("before the awaken signal") << false;
        QTest::newRow("after the awaken signal") << true;
    }
    void killProcessesEndsTheMiniQuoteClientOnlyOnceWoken()
    {
        QFETCH(bool, woken);
        writeCompanion(m_programs->path(), kMiniQuote);
        configure({0, false, false, true});
        QSignalSpy complete(manager(), &CMultiClientManager::sigOtherClientComplete);
        ShownBar shown;
        QTRY_VERIFY_WITH_TIMEOUT(!complete.isEmpty(), kReportTimeoutMs);
        const qint64 pid = manager()->processId(ClientType_MiniQuote);
        if (woken) {
            QSignalSpy awaken(manager(), &CMultiClientManager::sigKPXAwaken);
            QTest::mouseClick(shown.miniQuote(), Qt::LeftButton);
            QVERIFY(!awaken.isEmpty() || awaken.wait(kReportTimeoutMs));
        }
        QCOMPARE(shown.miniQuote()->isAwakened(), woken);

        shown.bar->killProcesses();
        QCOMPARE(manager()->isClientRuning(ClientType_MiniQuote), !woken);
        if (woken)
            QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), kReportTimeoutMs);
        else
            QVERIFY(!processGone(pid));
    }

    void updateMoveWidgetPutsOnlyTheMinimalTradingTipOnItsLauncher()
    {
        writeCompanion(m_programs->path(), kMiniTrade);
        writeCompanion(m_programs->path(), kMiniQuote);
        keepSilent(m_programs->path(), kMiniTrade);
        keepSilent(m_programs->path(), kMiniQuote);
        configure({0, true, false, true});
        ShownBar shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        QTRY_VERIFY(shown.miniQuote()->miniQuoteTip() && shown.miniQuote()->miniQuoteTip()->isVisible());
        const QPoint miniQuoteTipAt = shown.miniQuote()->miniQuoteTip()->pos();
        shown.bar->updateMoveWidget(); // no minimal trading tip yet: nothing to move
        QCOMPARE(shown.miniQuote()->miniQuoteTip()->pos(), miniQuoteTipAt);
        QTest::mouseClick(shown.miniTrade(), Qt::LeftButton);
        CClientTipWidget* miniTradeTip = shown.miniTrade()->tip();
        const QPoint launcherAt = shown.miniTrade()->mapToGlobal(QPoint(0, 0));
        QVERIFY2(miniTradeTip->pos() != launcherAt, "the tip sits above the launcher until the command moves it");

        shown.window.move(shown.window.pos() + QPoint(40, -100));
        QTRY_VERIFY(shown.miniTrade()->mapToGlobal(QPoint(0, 0)) != launcherAt);
        shown.bar->updateMoveWidget();
        QCOMPARE(miniTradeTip->pos(), shown.miniTrade()->mapToGlobal(QPoint(0, 0)));
        QCOMPARE(shown.miniQuote()->miniQuoteTip()->pos(), miniQuoteTipAt);
    }

    void aRealMiniQuoteClientRunsThroughTheBarFromStartToEnd()
    {
        manager()->setProgramDir(QString()); // the built companions
        QVERIFY2(QFileInfo(manager()->getProcessFileQSPath(ClientType_MiniQuote)).isExecutable(),
                 "the companion programs are not built beside the tests");
        configure({0, false, false, true});
        QSignalSpy complete(manager(), &CMultiClientManager::sigOtherClientComplete);
        QSignalSpy awaken(manager(), &CMultiClientManager::sigKPXAwaken);
        ShownBar shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        QTRY_VERIFY2_WITH_TIMEOUT(!complete.isEmpty(), "the resident mini quote client never came up", kStartTimeoutMs);
        const qint64 pid = manager()->processId(ClientType_MiniQuote);
        QCOMPARE(childrenRunning(kMiniQuote), QList<qint64>{pid});
        QVERIFY(commandLineOf(pid).contains(QStringLiteral("--background")));
        QVERIFY(!shown.miniQuote()->miniQuoteTip()->isVisible());

        QTest::mouseClick(shown.miniQuote(), Qt::LeftButton);
        QCOMPARE(tipsShownFor(shown.miniQuote()), QStringList{QStringLiteral("miniQuote正在运行")});
        QCOMPARE(QFileInfo(manager()->getProcessFileQSPath(ClientType_MiniQuoteSignal)).size(), 0);
        QVERIFY2(!awaken.isEmpty() || awaken.wait(kReportTimeoutMs), "the mini quote client was not woken");
        QVERIFY(shown.miniQuote()->isAwakened());

        shown.bar->killProcesses();
        QTRY_VERIFY2_WITH_TIMEOUT(processGone(pid), "the mini quote client outlived killProcesses()", kReportTimeoutMs);
    }

    void theFeedbackClickOpensTheDialogOrTheFeedbackPage_data()
    {
        QTest::addColumn<bool>("webRight");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("dialogShown");
        QTest::addColumn<QString>("opened");
        QTest::newRow("no right: the dialog") << false << QStringLiteral("https://service.example.com/fb") << true << QString();
        QTest::newRow("right, no address: nothing") << true << QString() << false << QString();
        QTest::newRow("right and an address: the page")
            << true << QStringLiteral("service.example.com/fb") << false << QStringLiteral("http://service.example.com/fb");
    }
    void theFeedbackClickOpensTheDialogOrTheFeedbackPage()
    {
        QFETCH(bool, webRight);
        QFETCH(QString, address);
        QFETCH(bool, dialogShown);
        QFETCH(QString, opened);
        LuaModuleCtrl::setModule(kWebFeedbackRight, webRight);
        getConfig()->setFeedbackAddress(address);
        BrowserStandIn browser;
        ShownBar shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        CClientFeedBackWidget* feedback = shown.feedback();

        QTest::mousePress(feedback, Qt::RightButton, {}, QPoint(3, 3));
        QVERIFY(!feedback->dialog());
        QTest::mousePress(feedback, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY2(feedback->dialog(), "the click should create the dialog in any case");
        QVERIFY(feedback->dialog()->is2Server());
        QCOMPARE(feedback->dialog()->isVisible(), dialogShown);
        QCOMPARE(browser.opened, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)});
        QCOMPARE(feedback->frame().look(), CItemFrame::Pressed);

        CAdviceFeedBackDialog* first = feedback->dialog();
        QTest::mousePress(feedback, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(feedback->dialog(), first);
    }

    void aFeedbackReportWithAScreenCaptureNeedsNoClickFirst()
    {
        ShownBar shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        QVERIFY(!shown.feedback()->dialog());
        shown.bar->showClientFeedBack();
        CAdviceFeedBackDialog* dialog = shown.feedback()->dialog();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY2(!dialog->capture().isNull(), "no picture of the terminal window was taken");
        QVERIFY(dialog->is2Server());
        const QPoint centre = dialog->frameGeometry().center();
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2((centre - screenCentre).manhattanLength() <= 2, "the dialog is not centred on the screen");

        // A terminal whose service desk takes feedback has no button, and the command does nothing.
        delete dialog;
        LuaModuleCtrl::setModule(kServiceDeskRight, true);
        CStatusBar withoutButton(nullptr);
        withoutButton.showClientFeedBack();
        QVERIFY(!shownFeedbackDialog());
    }

    void theFeedbackButtonDropsItsLabelInTheCompactForm_data()
    {
        QTest::addColumn<QString>("theme");
        for (const QString& theme : CUiResource::builtInThemes())
            QTest::newRow(qPrintable(theme)) << theme;
    }
    void theFeedbackButtonDropsItsLabelInTheCompactForm()
    {
        QFETCH(QString, theme);
        QVERIFY(CUiResource::instance()->setTheme(theme));
        QWidget window;
        window.setGeometry(200, 400, 120, 30);
        auto* feedback = new CClientFeedBackWidget(&window);
        const int icon = imageWidth("tc_img_velo_feedbacker");
        QCOMPARE(feedback->getMaxWidth(), icon + labelWidth() + 21);
        QCOMPARE(feedback->getMinWidth(), icon + 15);
        feedback->setGeometry(0, 0, feedback->getMaxWidth(), 23);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(feedback->label()->x(), icon + 15);
        QVERIFY2(feedback->label()->geometry().right() < feedback->width() - 1, "the label runs into the frame's side line");
        QImage full = feedback->grab().toImage();
        full.save(QStringLiteral("feedback-item-%1.png").arg(theme));
        QCOMPARE(full.pixelColor(0, 12), CUiResource::instance()->getColor(QStringLiteral("clr_statusbar_item_default_border")));

        feedback->switchToLite(true);
        feedback->resize(feedback->getMinWidth(), 23);
        QVERIFY(feedback->label()->isHidden());
        QVERIFY(feedback->icon()->geometry().right() < feedback->width() - 1);
        feedback->grab().save(QStringLiteral("feedback-item-lite-%1.png").arg(theme));
        feedback->switchToLite(false);
        QVERIFY(!feedback->label()->isHidden());
    }

    void theBarPlacesAndMeasuresTheClientItems_data()
    {
        QTest::addColumn<Terminal>("terminal");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("launcher flag") << Terminal{0, true} << QStringList{"mini trade", "feedback"};
        QTest::newRow("mini login") << Terminal{0, false, true} << QStringList{"mini trade", "feedback"};
        QTest::newRow("mini quote right") << Terminal{0, false, false, true} << QStringList{"mini quote", "feedback"};
        QTest::newRow("both launchers") << Terminal{0, true, false, true} << QStringList{"mini trade", "mini quote", "feedback"};
        QTest::newRow("quote client: no launchers") << Terminal{1, true, true, true} << QStringList{"feedback"};
        QTest::newRow("varno mode: no feedback") << Terminal{0, true, false, false, true} << QStringList{"mini trade"};
        QTest::newRow("service desk right: no feedback") << Terminal{0, false, false, true, false, true} << QStringList{"mini quote"};
    }
    void theBarPlacesAndMeasuresTheClientItems()
    {
        QFETCH(Terminal, terminal);
        QFETCH(QStringList, items);
        const QStringList clientItems{"mini trade", "mini quote", "feedback"};
        configure({terminal.clientType, false, false, false, false, true});
        CStatusBar plain(nullptr);
        const CStatusBarPrivate* without = CStatusBarPrivate::get(&plain);
        configure(terminal);
        ShownBar shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        const CStatusBarPrivate* d = CStatusBarPrivate::get(shown.bar);

        // Registered after the strategies counter and before the trade tag, in this order.
        QStringList registered = registeredNames(shown.bar);
        QStringList mine = registered;
        mine.erase(std::remove_if(mine.begin(), mine.end(), [&](const QString& n) { return !clientItems.contains(n); }), mine.end());
        QCOMPARE(mine, items);
        const int trade = registered.indexOf(QStringLiteral("CTradeWidget"));
        for (const QString& item : items) {
            QVERIFY2(registered.indexOf(item) > registered.indexOf(QStringLiteral("CRunningCStrategyWidget")) && registered.indexOf(item) < trade,
                     qPrintable(registered.join(", ")));
        }
        // The feedback button sits between two separators at the right-hand end.
        QStringList row;
        for (QWidget* widget : rowOf(shown.bar))
            row << nameOf(widget);
        if (items.contains(QStringLiteral("feedback"))) {
            const int at = row.indexOf(QStringLiteral("feedback"));
            QCOMPARE(row.mid(at - 2, 4), (QStringList{"CMagnifierWidget", "separator", "feedback", "separator"}));
        }

        // What the row wants: each launcher its icon + 12, plus 10; the feedback button its full width
        // on the right-hand side, and its separator.
        const int separator = imageWidth("img_toolbar_seperator");
        const int launcherWidth = imageWidth("tc_img_status_bar_start_mini") + 12;
        const int miniQuoteWidth = imageWidth("tc_img_status_bar_start_quote") + 12;
        const int feedbackFull = imageWidth("tc_img_velo_feedbacker") + labelWidth() + 21;
        const int feedbackLite = imageWidth("tc_img_velo_feedbacker") + 15;
        int left = 0;
        if (items.contains(QStringLiteral("mini trade")))
            left += launcherWidth + 10;
        if (items.contains(QStringLiteral("mini quote")))
            left += miniQuoteWidth + 10;
        // Varno client mode also leaves out the announcement ticker.
        if (terminal.varno)
            left -= without->noticeTicker->getMaxWidth();
        const bool hasFeedback = items.contains(QStringLiteral("feedback"));
        QCOMPARE(d->leftWantedWidth - without->leftWantedWidth, left);
        QCOMPARE(d->rightFixedWidth - without->rightFixedWidth, hasFeedback ? feedbackFull : 0);
        QCOMPARE(d->separatorWidthSum - without->separatorWidthSum, hasFeedback ? separator : 0);

        // With room every item is full; once the items after it have saved all they can, the feedback
        // button goes compact next.
        const int wanted = FittingPass::decide(d->fittingInput(), 0).wantedWidth;
        shown.bar->adjustWidgetWidth(wanted);
        if (shown.miniTrade())
            QCOMPARE(shown.miniTrade()->width(), launcherWidth);
        if (shown.miniQuote())
            QCOMPARE(shown.miniQuote()->width(), miniQuoteWidth);
        if (hasFeedback) {
            QCOMPARE(shown.feedback()->width(), std::min(61, feedbackFull));
            // Every item registered after it saves what it can first.
            int savings = 0;
            for (std::size_t i = registered.indexOf(QStringLiteral("feedback")) + 1; i < d->registered.size(); ++i)
                savings += d->registered[i].item->getMaxWidth() - d->registered[i].item->getMinWidth();
            shown.bar->adjustWidgetWidth(wanted - savings);
            QVERIFY(!shown.feedback()->label()->isHidden());
            shown.bar->adjustWidgetWidth(wanted - savings - 1);
            QVERIFY(shown.feedback()->label()->isHidden());
            QCOMPARE(shown.feedback()->width(), std::max(31, feedbackLite));
        }
        // However narrow, the launchers keep their one width.
        shown.bar->adjustWidgetWidth(300);
        if (shown.miniTrade())
            QCOMPARE(shown.miniTrade()->width(), launcherWidth);
        if (shown.miniQuote())
            QCOMPARE(shown.miniQuote()->width(), miniQuoteWidth);
        for (int width : {1280, 900, 700}) {
            shown.bar->resize(width, kBarHeight);
            int previousRight = 0;
            for (QWidget* widget : rowOf(shown.bar)) {
                const QRect visible = shownRect(widget);
                if (visible.isEmpty())
                    continue;
                QVERIFY2(visible.x() >= previousRight, qPrintable(nameOf(widget) + QStringLiteral(" overlaps at %1 px").arg(width)));
                previousRight = visible.right() + 1;
            }
        }
    }

private:
    std::unique_ptr<QTemporaryDir> m_programs;
    QTemporaryDir m_runtime;
    LogCapture m_log{"CompanionClients"}; ///< the manager's notes of starts and ends, kept off the console
};

STATUSBAR_TEST_MAIN(TestClientItems)
#include "tst_clientitems.moc"
