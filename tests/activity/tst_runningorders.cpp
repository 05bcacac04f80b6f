#include <testmain.h>

#include <modaldialog.h>

#include <eventrecorder.h>

#include <statusbar/popcommonpaneldialog.h>
#include <statusbar/runningorderswidget.h>
#include <statusbar/statusbarevents.h>

#include <terminalhost/datacenter.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/orderspanel.h>
#include <terminalhost/recordlistpanel.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/standardtable.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/tradedata.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QDialog>
#include <QFontMetrics>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <future>
#include <memory>
#include <string>

namespace {
const QString kFullCaption = QStringLiteral(" 执行中委托: ");
const QString kLiteCaption = QStringLiteral(" 委托: ");
const QString kCaptionFont = QStringLiteral("fnt_default_normal_fix");
const QString kCounterFont = QStringLiteral("fnt_default_normal_heavy_fix");
constexpr int kLaggingOrders = 20000;

CDataCenter* dataCenter()
{
    return TraderCenter::instance()->getDataCenter();
}

CAccountInfoPtr loggedAccount(const std::string& key, EBROKER_LOGIN_STATUS status = BROKER_LOGIN_SUCCESS)
{
    auto account = std::make_shared<CAccountInfo>(key, key);
    dataCenter()->addAccount(key);
    CTradeClient::instance()->reportLoginStatus(account, status, "");
    return account;
}

void publishOrder(const std::string& account, const std::string& id, int status)
{
    dataCenter()->publish(account, TradeData_OrderDetail,
                          std::make_shared<COrderDetail>(id, account, "600000", static_cast<EOrderStatus>(status)));
}

void publishOrders(const std::string& account, const std::string& prefix, int count, int status)
{
    for (int i = 0; i < count; ++i)
        publishOrder(account, prefix + std::to_string(i), status);
}

// What the counter shows once every record published so far has reached the item and it ticked.
QString shownAfterTick(CRunningOrdersWidget& item)
{
    dataCenter()->waitForDeliveries();
    item.slotTimeout();
    return item.counter()->getText();
}

int advance(const QString& text, const QString& fontKey)
{
    return QFontMetrics(CUiResource::instance()->getFont(fontKey)).horizontalAdvance(text);
}
}

Q_DECLARE_METATYPE(EBROKER_LOGIN_STATUS)

class TestRunningOrders : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); dataCenter()->waitForDeliveries(); }

    // --- counting ---

    void countsRunningOrdersOfReadyUnfilteredAccounts_data()
    {
        QTest::addColumn<EBROKER_LOGIN_STATUS>("secondLogin");
        QTest::addColumn<bool>("secondFiltered");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("onceSecondIsReady"); // after its login succeeds and its data is loaded
        QTest::newRow("both accounts ready add up") << BROKER_LOGIN_SUCCESS << false << "5" << "5";
        QTest::newRow("an account still connecting is left out") << BROKER_LOGIN_CONNECTING << false << "2" << "5";
        QTest::newRow("an account whose login failed is left out") << BROKER_LOGIN_FAILED << false << "2" << "5";
        QTest::newRow("a filtered account contributes nothing") << BROKER_LOGIN_SUCCESS << true << "2" << "2";
    }
    void countsRunningOrdersOfReadyUnfilteredAccounts()
    {
        QFETCH(EBROKER_LOGIN_STATUS, secondLogin);
        QFETCH(bool, secondFiltered);
        QFETCH(QString, expected);
        QFETCH(QString, onceSecondIsReady);
        const CAccountInfoPtr first = loggedAccount("A");
        const CAccountInfoPtr second = loggedAccount("B", secondLogin);
        getUserConfig()->setAccountFilter(QStringLiteral("B"), secondFiltered);
        CRunningOrdersWidget item(nullptr);
        // Part of each account's orders is read at the load, the rest arrives on host threads.
        publishOrder("A", "a1", OrderStatus_Queued);
        publishOrder("A", "a2", OrderStatus_Filled);
        publishOrders("B", "b", 2, OrderStatus_PartFilled);
        getUserConfig()->setAccountList({first, nullptr, second});
        publishOrder("A", "a3", OrderStatus_Submitting);
        publishOrder("B", "b9", OrderStatus_Queued);
        QCOMPARE(shownAfterTick(item), expected);
        CTradeClient::instance()->reportLoginStatus(second, BROKER_LOGIN_SUCCESS, "");
        CTradeClient::instance()->reportAccountDataInited(*second);
        QCOMPARE(shownAfterTick(item), onceSecondIsReady);
    }

    void countsEachOrderOnceAcrossStateChanges_data()
    {
        QTest::addColumn<QVector<int>>("states");
        QTest::addColumn<int>("readAtLoad"); // how many of the states are published before the load
        QTest::addColumn<QString>("expected");
        QTest::newRow("queued then part filled") << QVector<int>{OrderStatus_Queued, OrderStatus_PartFilled} << 0 << "1";
        QTest::newRow("reported twice while queued") << QVector<int>{OrderStatus_Queued, OrderStatus_Queued} << 1 << "1";
        QTest::newRow("queued then filled") << QVector<int>{OrderStatus_Queued, OrderStatus_Filled} << 0 << "0";
        QTest::newRow("queued at load, cancelled after") << QVector<int>{OrderStatus_Queued, OrderStatus_Cancelled} << 1 << "0";
        QTest::newRow("rejected reported again") << QVector<int>{OrderStatus_Rejected, OrderStatus_Rejected} << 0 << "0";
        QTest::newRow("through every state to filled")
            << QVector<int>{OrderStatus_Submitting, OrderStatus_Queued, OrderStatus_PartFilled, OrderStatus_Filled} << 2 << "0";
    }
    void countsEachOrderOnceAcrossStateChanges()
    {
        QFETCH(QVector<int>, states);
        QFETCH(int, readAtLoad);
        QFETCH(QString, expected);
        const CAccountInfoPtr account = loggedAccount("A");
        CRunningOrdersWidget item(nullptr);
        for (int i = 0; i < readAtLoad; ++i)
            publishOrder("A", "X", states.at(i));
        getUserConfig()->setAccountList({account});
        for (int i = readAtLoad; i < states.size(); ++i)
            publishOrder("A", "X", states.at(i));
        QCOMPARE(shownAfterTick(item), expected);
    }

    void fullReloadRebuildsTheCount_data()
    {
        QTest::addColumn<bool>("byAccountList");
        QTest::newRow("account list loaded") << true;
        QTest::newRow("accounts refreshed") << false;
    }
    void fullReloadRebuildsTheCount()
    {
        QFETCH(bool, byAccountList);
        const CAccountInfoPtr first = loggedAccount("A");
        const CAccountInfoPtr second = loggedAccount("B", BROKER_LOGIN_CONNECTING);
        publishOrders("A", "a", 2, OrderStatus_Queued);
        publishOrders("B", "b", 1, OrderStatus_Queued);
        CRunningOrdersWidget item(nullptr);
        getUserConfig()->setAccountList({first, second});
        QCOMPARE(shownAfterTick(item), QStringLiteral("2"));

        CTradeClient::instance()->reportLoginStatus(first, BROKER_LOGIN_DISCONNECTED, "");
        CTradeClient::instance()->reportLoginStatus(second, BROKER_LOGIN_SUCCESS, "");
        QCOMPARE(shownAfterTick(item), QStringLiteral("2")); // a logout alone keeps the marks
        if (byAccountList)
            getUserConfig()->setAccountList({first, second});
        else
            getUserConfig()->setAccountFilter(QStringLiteral("unrelated"), true);
        QCOMPARE(shownAfterTick(item), QStringLiteral("1"));
    }

    void reLoginReplacesTheSubscriptionWithoutCountingTwice()
    {
        const CAccountInfoPtr account = loggedAccount("A");
        CRunningOrdersWidget item(nullptr);
        getUserConfig()->setAccountList({account});
        publishOrders("A", "a", 2, OrderStatus_Queued);
        CTradeClient::instance()->reportAccountDataInited(*account);
        CTradeClient::instance()->reportAccountDataInited(*account);
        publishOrder("A", "a0", OrderStatus_PartFilled);
        publishOrder("A", "a2", OrderStatus_Queued);
        QCOMPARE(shownAfterTick(item), QStringLiteral("3"));
        publishOrders("A", "a", 3, OrderStatus_Filled);
        QCOMPARE(shownAfterTick(item), QStringLiteral("0"));
    }

    void reloadWhileDeliveriesLagNeverBringsBackAnOlderState_data()
    {
        QTest::addColumn<bool>("fullReload");
        QTest::newRow("re-login of the account") << false;
        QTest::newRow("account list loaded again") << true;
    }
    void reloadWhileDeliveriesLagNeverBringsBackAnOlderState()
    {
        QFETCH(bool, fullReload);
        const CAccountInfoPtr account = loggedAccount("A");
        CRunningOrdersWidget item(nullptr);
        getUserConfig()->setAccountList({account});

        // A subscriber of our own holds the account's delivery queue shut, so that the item's
        // subscription falls far behind: every order running, then every order filled.
        std::promise<void> held;
        std::promise<void> open;
        std::shared_future<void> opened = open.get_future().share();
        std::atomic<bool> first{true};
        SubRequestPtr gate = dataCenter()->subscribe("A", TradeData_OrderDetail, "", [&](const IDataPtr&) {
            if (first.exchange(false))
                held.set_value();
            opened.wait();
        });
        publishOrder("A", "first", OrderStatus_Queued);
        held.get_future().wait();
        publishOrders("A", "o", kLaggingOrders, OrderStatus_Queued);
        publishOrders("A", "o", kLaggingOrders, OrderStatus_Filled);
        publishOrder("A", "first", OrderStatus_Filled);

        // The store is read again while the old subscription is still working off its queue.
        open.set_value();
        if (fullReload)
            getUserConfig()->setAccountList({account});
        else
            CTradeClient::instance()->reportAccountDataInited(*account);
        QCOMPARE(shownAfterTick(item), QStringLiteral("0"));
        gate.reset();
    }

    // --- width and captions ---

    void widthFollowsTheCountAndTheCaption()
    {
        const CAccountInfoPtr account = loggedAccount("A");
        CRunningOrdersWidget item(nullptr);
        getUserConfig()->setAccountList({account});
        publishOrders("A", "a", 9, OrderStatus_Queued);
        QCOMPARE(shownAfterTick(item), QStringLiteral("9"));
        QSignalSpy widened(&item, &CRunningOrdersWidget::sigResizeRunningOrderSize);

        // An extra digit asks the bar for room once, not on every tick.
        publishOrder("A", "a9", OrderStatus_Queued);
        QCOMPARE(shownAfterTick(item), QStringLiteral("10"));
        QCOMPARE(shownAfterTick(item), QStringLiteral("10"));
        QCOMPARE(widened.count(), 1);
        const int icon = item.image()->width();
        const int count = advance(QStringLiteral("10"), kCounterFont);
        QCOMPARE(item.counter()->width(), count);
        QCOMPARE(item.width(), icon + advance(kFullCaption, kCaptionFont) + count + 14);
        QCOMPARE(item.getMinWidth(), icon + advance(kLiteCaption, kCaptionFont) + count + 16);
        QCOMPARE(item.label()->getText(), kFullCaption); // asking for a width shows nothing else
        item.switchToLite(true);
        QCOMPARE(item.label()->getText(), kLiteCaption);
        QCOMPARE(item.getMaxWidth(), item.width()); // nor does it depend on the form shown
        item.switchToLite(false);
        QCOMPARE(item.label()->getText(), kFullCaption);
        item.switchToLite(true);

        // A count from the main window brings the full caption and width back...
        item.updateCount(7);
        QCOMPARE(item.label()->getText(), kFullCaption);
        QCOMPARE(item.counter()->getText(), QStringLiteral("7"));
        QCOMPARE(item.width(), icon + advance(kFullCaption, kCaptionFont) + advance(QStringLiteral("7"), kCounterFont) + 14);
        // ...and holds only until the next tick shows the tracked sum; losing a digit asks for nothing.
        publishOrder("A", "a9", OrderStatus_Cancelled);
        QCOMPARE(shownAfterTick(item), QStringLiteral("9"));
        QCOMPARE(widened.count(), 1);
        QCOMPARE(item.counter()->width(), advance(QStringLiteral("9"), kCounterFont));
    }

    // --- click ---

    void clickWithoutPopupFlagAsksTheMainWindow()
    {
        EventRecorder mainWindow;
        CRunningOrdersWidget item(nullptr);
        QTest::mouseClick(item.counter(), Qt::LeftButton);
        QTest::mouseClick(item.label(), Qt::LeftButton);
        QCOMPARE(mainWindow.count(StatusBarEvent::RunningOrders), 2);
        QVERIFY(!item.popupDialog());
    }

    void clickWithPopupFlagOpensOneDialogAndReusesIt()
    {
        EventRecorder mainWindow;
        getUserConfig()->popupRunningPanels = true;
        CRunningOrdersWidget item(nullptr);
        QPointer<QDialog> first;
        rejectModalDialog(&first);
        QTest::mouseClick(item.counter(), Qt::LeftButton);
        QVERIFY2(first, "no modal dialog was shown");
        QCOMPARE(first.data(), static_cast<QDialog*>(item.popupDialog()));
        QCOMPARE(item.popupDialog()->kind(), CPopCommonPanelDialog::kOrdersKind);
        auto* panel = qobject_cast<COrdersPanel*>(item.popupDialog()->panel());
        QVERIFY(panel && panel->isShowingRunning());

        QPointer<QDialog> second;
        rejectModalDialog(&second);
        QTest::mouseClick(item.label(), Qt::LeftButton);
        QCOMPARE(second.data(), first.data());
        QCOMPARE(item.findChildren<CPopCommonPanelDialog*>().size(), 1);
        QCOMPARE(panel->requestLog().count(QStringLiteral("showRunning")), 2);
        QCOMPARE(mainWindow.count(StatusBarEvent::RunningOrders), 0);
    }

    // --- the popup panel dialog ---

    void dialogHostsThePanelOfItsKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("panelClass");
        QTest::addColumn<int>("accountRefreshes"); // at construction
        QTest::addColumn<bool>("showsRunning");
        QTest::newRow("orders") << 0 << "委托" << "COrdersPanel" << 1 << true;
        QTest::newRow("messages") << 1 << "消息提示" << "CMessagePanel" << 0 << false;
        QTest::newRow("tasks") << 2 << "任务列表" << "CIntegratedTasksPanel" << 0 << true;
        QTest::newRow("unknown kind") << 7 << QString() << QString() << 0 << false;
    }
    void dialogHostsThePanelOfItsKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QString, panelClass);
        QFETCH(int, accountRefreshes);
        QFETCH(bool, showsRunning);
        CPopCommonPanelDialog dialog(kind, nullptr);
        QCOMPARE(dialog.title(), title);
        QCOMPARE(dialog.size(), QSize(1500, 700));
        ITradeDockableWidget* panel = dialog.panel();
        QCOMPARE(panel ? QString::fromLatin1(panel->metaObject()->className()) : QString(), panelClass);
        QCOMPARE(dialog.innerWidget(), static_cast<QWidget*>(panel));
        if (panel)
            QCOMPARE(panel->requestLog().count(QStringLiteral("refreshAccounts")), accountRefreshes);
        // Only the orders and task panels list running entries; without a panel nothing happens.
        dialog.showRunning();
        if (panel)
            QCOMPARE(panel->requestLog().contains(QStringLiteral("showRunning")), showsRunning);
        // Every panel follows the dialog's timer and the account changes; without a panel they do nothing.
        const int ticks = panel ? panel->timerCount() : 0;
        dialog.slotTimeOut();
        dialog.slotRefreshAllAccount();
        dialog.slotRefreshAccount(CAccountInfo("A", "A"));
        if (panel) {
            QCOMPARE(panel->timerCount(), ticks + 1);
            const QStringList& log = panel->requestLog();
            QCOMPARE(log.mid(log.size() - 3), (QStringList{QStringLiteral("refreshAccounts"), QStringLiteral("ignoreAccount:A"),
                                                          QStringLiteral("requestAccount:A")}));
        }
    }

    void thePanelsNameTheAccountAsTheTradeTagDoes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::newRow("orders") << CPopCommonPanelDialog::kOrdersKind << 0;
        QTest::newRow("tasks") << CPopCommonPanelDialog::kTasksKind << 1;
    }
    void thePanelsNameTheAccountAsTheTradeTagDoes()
    {
        QFETCH(int, kind);
        QFETCH(int, column);
        getUserConfig()->setAccountList({std::make_shared<CAccountInfo>("10001", "88020011")});
        dataCenter()->addAccount("10001");
        publishOrder("10001", "1", OrderStatus_Queued);
        dataCenter()->publish("10001", TradeData_TaskDetail, std::make_shared<CTaskDetail>("T1", "10001", "TWAP", CTaskDetail::kStatusRunning));
        dataCenter()->waitForDeliveries();
        CPopCommonPanelDialog dialog(kind, nullptr);
        dialog.slotTimeOut();
        const CStandardTable* table = qobject_cast<CRecordListPanel*>(dialog.panel())->table();
        QCOMPARE(table->itemText(table->rowID(0), column), QStringLiteral("88020011"));
    }

    void ordersDialogFollowsAccountChangesAndItsTimer()
    {
        CPopCommonPanelDialog dialog(CPopCommonPanelDialog::kOrdersKind, nullptr);
        const QStringList& log = dialog.panel()->requestLog();
        CTradeClient::instance()->reportAccountDataInited(CAccountInfo("A", "A"));
        QCOMPARE(log.mid(log.size() - 2), (QStringList{QStringLiteral("ignoreAccount:A"), QStringLiteral("requestAccount:A")}));
        QVERIFY(dialog.panel()->accounts().count("A"));
        getUserConfig()->setAccountFilter(QStringLiteral("A"), true);
        QCOMPARE(log.last(), QStringLiteral("refreshAccounts"));
        QVERIFY(!dialog.panel()->accounts().count("A"));
        // The refresh timer keeps feeding the panel while the dialog is hidden.
        QVERIFY(!dialog.isVisible());
        const int before = dialog.panel()->timerCount();
        QTRY_VERIFY2(dialog.panel()->timerCount() >= before + 2, "the panel's refresh did not run");
    }

    void closingHidesTheDialogWithoutDeletingIt()
    {
        QPointer<CPopCommonPanelDialog> dialog = new CPopCommonPanelDialog(CPopCommonPanelDialog::kOrdersKind, nullptr);
        dialog->show();
        QVERIFY(dialog->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(dialog, "closing deleted the dialog");
        QVERIFY(!dialog->isVisible());
        delete dialog;
    }
};

STATUSBAR_TEST_MAIN(TestRunningOrders)
#include "tst_runningorders.moc"
