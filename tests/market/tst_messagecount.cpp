#include <testmain.h>

#include "marketfixtures.h"

#include <eventrecorder.h>

#include <statusbar/rollingmessagewidget.h>
#include <statusbar/statusbarevents.h>

#include <terminalhost/simpletext.h>
#include <terminalhost/simpletextwidget.h>

#include <QMetaObject>

#include <thread>

using namespace market;

namespace {
constexpr int kTitleId = 101;
constexpr int kCountId = 103;

void addMessages(int type, int n)
{
    for (int i = 0; i < n; ++i)
        CMsgService::instance()->addMessage(std::make_shared<CMessage>(type, "标题", "内容", i));
}

/// Shows the count as the one-second tick does.
QString shownCount(CRollingMessageWidget& item)
{
    QMetaObject::invokeMethod(&item, "slotTimeout");
    return item.countText()->getText();
}
}

class TestMessageCount : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshHost(); }

    void startsWithTradeMessagesOnlyAndARefreshAddsSystemMessages()
    {
        addMessages(MessageType_System, 2);
        addMessages(MessageType_Trade, 3);
        addMessages(MessageType_Risk, 4);
        settleHost();
        CRollingMessageWidget item(nullptr);
        QCOMPARE(item.countText()->getText(), QStringLiteral("3"));
        CMsgService::instance()->setMessages(MessageType_News, {std::make_shared<CMessage>(3, "a", "b", 0)});
        QCOMPARE(item.count(), 5);
        QCOMPARE(shownCount(item), QStringLiteral("5"));
    }

    void countsSystemAndTradeMessagesArrivingFromManyThreads()
    {
        CRollingMessageWidget item(nullptr);
        std::vector<std::thread> senders;
        for (int type = 0; type < 4; ++type)
            senders.emplace_back([type] { addMessages(type, 250); });
        for (std::thread& sender : senders)
            sender.join();
        settleHost();
        QCOMPARE(item.count(), 500);
        QCOMPARE(shownCount(item), QStringLiteral("500"));
    }

    void aClickClearsTheCountAndTextsAskForTheMessageView_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("viewRequests");
        QTest::newRow("title") << kTitleId << 1;
        QTest::newRow("count") << kCountId << 1;
        QTest::newRow("elsewhere on the item") << 0 << 0;
    }
    void aClickClearsTheCountAndTextsAskForTheMessageView()
    {
        QFETCH(int, id);
        QFETCH(int, viewRequests);
        EventRecorder recorder;
        QWidget bar;
        auto* item = new CRollingMessageWidget(&bar);
        addMessages(MessageType_Trade, 4);
        settleHost();
        QVERIFY(item->handleEvent(Event_Click, id, 0, QString(), nullptr));
        QCOMPARE(recorder.count(StatusBarEvent::Messages, -1), viewRequests);
        QCOMPARE(shownCount(*item), QStringLiteral("0"));
        addMessages(MessageType_System, 2);
        settleHost();
        QCOMPARE(shownCount(*item), QStringLiteral("2"));
        QVERIFY(!item->handleEvent(Event_ToolTip, 0, 0, QString(), nullptr));
    }

    void clickingTheCountTextReachesTheItem()
    {
        EventRecorder recorder;
        QWidget bar;
        auto* item = new CRollingMessageWidget(&bar);
        item->resize(item->getMaxWidth(), 24);
        bar.show();
        QTest::mouseClick(item->countText(), Qt::LeftButton);
        QCOMPARE(recorder.count(StatusBarEvent::Messages), 1);
    }

    void widthsAndPlacesComeFromTheTexts()
    {
        CRollingMessageWidget item(nullptr);
        item.show(); // a hidden widget hears of its resize only when shown
        addMessages(MessageType_Trade, 1234);
        settleHost();
        shownCount(item);
        const int title = CSimpleText::getSize(QStringLiteral("消息提示:"), QStringLiteral("fnt_default_normal_fix")).width();
        const int count = CSimpleText::getSize(QStringLiteral("1234"), QStringLiteral("fnt_default_normal_heavy_fix")).width();
        QCOMPARE(item.getMaxWidth(), title + count + 10);
        item.switchToLite(true);
        QCOMPARE(item.getMinWidth(), title + count + 10);
        QCOMPARE(item.titleText()->getText(), QStringLiteral("消息提示:"));
        item.resize(item.getMaxWidth(), 24);
        QCOMPARE(item.titleText()->pos(), QPoint(5, (24 - item.titleText()->height()) / 2));
        QCOMPARE(item.countText()->x(), title + 10);
    }
};

STATUSBAR_TEST_MAIN(TestMessageCount)
#include "tst_messagecount.moc"
