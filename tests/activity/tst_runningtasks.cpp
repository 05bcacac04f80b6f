#include <testmain.h>

#include <modaldialog.h>

#include <eventrecorder.h>

#include <statusbar/popcommonpaneldialog.h>
#include <statusbar/runningtaskswidget.h>
#include <statusbar/statusbarevents.h>

#include <terminalhost/baskettaskspanel.h>
#include <terminalhost/datacenter.h>
#include <terminalhost/rpcengine.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/tradedata.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QDialog>
#include <QFontMetrics>
#include <QPointer>
#include <QTimer>

#include <boost/asio/post.hpp>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <string>

namespace {
const QString kFullCaption = QStringLiteral(" 执行中任务: ");
const QString kLiteCaption = QStringLiteral(" 任务: ");
const QString kCaptionFont = QStringLiteral("fnt_default_normal_fix");
const QString kCounterFont = QStringLiteral("fnt_default_normal_heavy_fix");
constexpr int kRunning = 3;

CDataCenter* dataCenter()
{
    return TraderCenter::instance()->getDataCenter();
}

void publishTask(const std::string& account, const std::string& id, int status)
{
    dataCenter()->publish(account, TradeData_TaskDetail, std::make_shared<CTaskDetail>(id, account, "basket", status));
}

void publishTasks(const std::string& account, const std::string& prefix, int count, int status)
{
    for (int i = 0; i < count; ++i)
        publishTask(account, prefix + std::to_string(i), status);
}

// Task records travel twice: from the data center's delivery to the "ui_process" strand.
void waitForTaskCallbacks()
{
    dataCenter()->waitForDeliveries();
    RPCEngine::waitForStrand(*RPCEngine::instance()->getStrand("ui_process"));
}

QString shownAfterTick(CRunningTasksWidget& item)
{
    waitForTaskCallbacks();
    item.slotTimeout();
    return item.counter()->getText();
}

int advance(const QString& text, const QString& fontKey)
{
    return QFontMetrics(CUiResource::instance()->getFont(fontKey)).horizontalAdvance(text);
}

// Runs a step of the test as the item's destruction begins, before the item itself lets go.
class GatedTasksWidget : public CRunningTasksWidget
{
    Q_OBJECT
public:
    explicit GatedTasksWidget(std::function<void()> onDestroy) : CRunningTasksWidget(nullptr), m_onDestroy(std::move(onDestroy)) {}
    ~GatedTasksWidget() override { m_onDestroy(); }

private:
    std::function<void()> m_onDestroy;
};
}

class TestRunningTasks : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); waitForTaskCallbacks(); }

    void initialLoadCountsRunningTasksOfEveryAccount()
    {
        // Logged in, never logged in, filtered: the task list counts them all.
        dataCenter()->addAccount("A");
        CTradeClient::instance()->reportLoginStatus(std::make_shared<CAccountInfo>("A", "A"), BROKER_LOGIN_SUCCESS, "");
        getUserConfig()->setAccountFilter(QStringLiteral("C"), true);
        publishTasks("A", "a", 2, kRunning);
        publishTasks("A", "done", 3, 5);
        publishTasks("B", "b", 1, kRunning);
        publishTasks("C", "c", 4, kRunning);
        CRunningTasksWidget item(nullptr);
        item.slotTimeout();
        QCOMPARE(item.counter()->getText(), QStringLiteral("7"));
    }

    void followsEachTaskThroughItsStatusChanges_data()
    {
        QTest::addColumn<QVector<int>>("statuses");
        QTest::addColumn<int>("readAtStart"); // how many are published before the item exists
        QTest::addColumn<QString>("expected");
        QTest::newRow("running") << QVector<int>{kRunning} << 0 << "1";
        QTest::newRow("running reported twice") << QVector<int>{kRunning, kRunning} << 1 << "1";
        QTest::newRow("running then finished") << QVector<int>{kRunning, 4} << 0 << "0";
        QTest::newRow("running at start, paused after") << QVector<int>{kRunning, 2} << 1 << "0";
        QTest::newRow("paused then running again") << QVector<int>{kRunning, 2, kRunning} << 2 << "1";
        QTest::newRow("never running") << QVector<int>{0, 1, 2, 4} << 0 << "0";
    }
    void followsEachTaskThroughItsStatusChanges()
    {
        QFETCH(QVector<int>, statuses);
        QFETCH(int, readAtStart);
        QFETCH(QString, expected);
        for (int i = 0; i < readAtStart; ++i)
            publishTask("A", "T", statuses.at(i));
        CRunningTasksWidget item(nullptr);
        for (int i = readAtStart; i < statuses.size(); ++i)
            publishTask("A", "T", statuses.at(i));
        QCOMPARE(shownAfterTick(item), expected);
    }

    void widensOnceFrom99To100()
    {
        CRunningTasksWidget item(nullptr);
        publishTasks("A", "t", 99, kRunning);
        QCOMPARE(shownAfterTick(item), QStringLiteral("99"));
        QSignalSpy widened(&item, &CRunningTasksWidget::sigResizeRunningTaskSize);
        publishTask("A", "t99", kRunning);
        QCOMPARE(shownAfterTick(item), QStringLiteral("100"));
        QCOMPARE(shownAfterTick(item), QStringLiteral("100"));
        QCOMPARE(widened.count(), 1);
        const int counter = advance(QStringLiteral("100"), kCounterFont);
        QCOMPARE(item.counter()->width(), counter);
        QCOMPARE(item.width(), advance(kFullCaption, kCaptionFont) + counter + 32);
        QCOMPARE(item.getMinWidth(), advance(kLiteCaption, kCaptionFont) + counter + 32);
        QCOMPARE(item.label()->getText(), kFullCaption); // asking for a width shows nothing else
        item.switchToLite(true);
        QCOMPARE(item.label()->getText(), kLiteCaption);
        QCOMPARE(item.counter()->x(), advance(kLiteCaption, kCaptionFont) + 12);

        // The next tick brings the full caption back, the counter placed after it.
        publishTask("A", "t99", 4);
        QCOMPARE(shownAfterTick(item), QStringLiteral("99"));
        QCOMPARE(widened.count(), 1);
        QCOMPARE(item.label()->getText(), kFullCaption);
        QCOMPARE(item.counter()->x(), advance(kFullCaption, kCaptionFont) + 12);
    }

    void clickWithoutPopupFlagAsksTheMainWindow()
    {
        EventRecorder mainWindow;
        CRunningTasksWidget item(nullptr);
        QTest::mouseClick(item.counter(), Qt::LeftButton);
        QCOMPARE(mainWindow.count(StatusBarEvent::RunningTasks), 1);
        QVERIFY(!item.popupDialog());
    }

    void clickWithPopupFlagOpensOneTaskDialogAndReusesIt()
    {
        EventRecorder mainWindow;
        getUserConfig()->popupRunningPanels = true;
        CRunningTasksWidget item(nullptr);
        QPointer<QDialog> first;
        rejectModalDialog(&first);
        QTest::mouseClick(item.label(), Qt::LeftButton);
        QVERIFY2(first, "no modal dialog was shown");
        QCOMPARE(first.data(), static_cast<QDialog*>(item.popupDialog()));
        QCOMPARE(item.popupDialog()->kind(), CPopCommonPanelDialog::kTasksKind);
        auto* panel = qobject_cast<CIntegratedTasksPanel*>(item.popupDialog()->panel());
        QVERIFY(panel && panel->isShowingRunning());

        QPointer<QDialog> second;
        rejectModalDialog(&second);
        QTest::mouseClick(item.counter(), Qt::LeftButton);
        QCOMPARE(second.data(), first.data());
        QCOMPARE(item.findChildren<CPopCommonPanelDialog*>().size(), 1);
        QCOMPARE(panel->requestLog().count(QStringLiteral("showRunning")), 2);
        QCOMPARE(mainWindow.count(StatusBarEvent::RunningTasks), 0);
    }

    void destroyingTheItemWaitsForTaskCallbacksStillQueued()
    {
        // Hold the "ui_process" strand shut while task callbacks pile up behind it; the gate opens
        // only when the item's destruction begins.
        std::shared_ptr<RPCEngine::Strand> strand = RPCEngine::instance()->getStrand("ui_process");
        std::promise<void> open;
        std::shared_future<void> opened = open.get_future().share();
        boost::asio::post(*strand, [opened] { opened.wait(); });
        auto* item = new GatedTasksWidget([&open] { open.set_value(); });
        publishTasks("A", "t", 5000, kRunning);
        dataCenter()->waitForDeliveries();
        std::atomic<bool> drained{false};
        boost::asio::post(*strand, [&drained] { drained = true; });

        delete item;
        QVERIFY2(drained.load(), "the item was gone while its task callbacks were still queued");
        waitForTaskCallbacks();
    }
};

STATUSBAR_TEST_MAIN(TestRunningTasks)
#include "tst_runningtasks.moc"
