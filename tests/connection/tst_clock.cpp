#include <testmain.h>

#include <statusbar/currenttimewidget.h>

#include <terminalhost/menu.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/timeservice.h>
#include <terminalhost/userconfig.h>

#include <QAction>
#include <QMenu>

#include <memory>

Q_DECLARE_METATYPE(Qt::MouseButton)

namespace {
const QString kClockFont = QStringLiteral("tc_fnt_statusbar_nettime");

int textWidth(const QString& text)
{
    return CSimpleText::getSize(text, kClockFont).width();
}

// Seconds since the epoch of a local date and time, as the time service reports them.
int localSeconds(const QDate& date, const QTime& time)
{
    return static_cast<int>(QDateTime(date, time).toSecsSinceEpoch());
}

struct ClockWindow {
    std::unique_ptr<QWidget> window;
    CCurrentTimeWidget* clock = nullptr;
};

// A shown window holding a clock away from the screen's edges, so that menus open where asked.
ClockWindow shownClock()
{
    ClockWindow shown;
    shown.window = std::make_unique<QWidget>();
    shown.window->setGeometry(300, 400, 200, 24);
    shown.clock = new CCurrentTimeWidget(shown.window.get());
    shown.clock->setGeometry(20, 0, 135, 24);
    shown.window->show();
    return shown;
}

struct PopupSeen {
    QMenu* menu = nullptr;
    QRect geometry;
};

// The menu's exec() blocks: once its loop runs, note which popup opened and where, then close it,
// choosing its first entry first when asked to.
void closePopupWhenOpen(QObject* context, PopupSeen* seen, bool chooseFirst)
{
    QTimer::singleShot(0, context, [context, seen, chooseFirst] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            closePopupWhenOpen(context, seen, chooseFirst);
            return;
        }
        seen->menu = menu;
        seen->geometry = menu->geometry();
        if (chooseFirst)
            menu->actions().first()->trigger();
        menu->hide();
    });
}

void clickClock(CCurrentTimeWidget* clock, Qt::MouseButton button)
{
    QTest::mousePress(clock, button, {}, QPoint(20, 10));
    QTest::mouseRelease(clock, button, {}, QPoint(20, 10));
}
}

class TestClock : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void clockAsksForItsDefaultWidthsUntilTheFirstTime()
    {
        CCurrentTimeWidget clock(nullptr);
        QCOMPARE(clock.getMaxWidth(), 135);
        QCOMPARE(clock.getMinWidth(), 60);
        QVERIFY(clock.dateText().isEmpty());
        QVERIFY(clock.timeText().isEmpty());
    }

    void clockShowsTheDateAndTimeTheServicePublishes_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("dateText");
        QTest::addColumn<QString>("timeText");
        QTest::newRow("morning keeps leading zeros") << QDate(2024, 1, 2) << QTime(9, 5, 3) << "2024/01/02" << "09:05:03";
        QTest::newRow("midnight") << QDate(2024, 3, 4) << QTime(0, 0, 0) << "2024/03/04" << "00:00:00";
        QTest::newRow("afternoon on the 24-hour clock") << QDate(2024, 7, 15) << QTime(13, 7, 9) << "2024/07/15" << "13:07:09";
        QTest::newRow("last second of the year") << QDate(2024, 12, 31) << QTime(23, 59, 59) << "2024/12/31" << "23:59:59";
    }
    void clockShowsTheDateAndTimeTheServicePublishes()
    {
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(QString, dateText);
        QFETCH(QString, timeText);
        CCurrentTimeWidget clock(nullptr);
        getTimeService()->publishTime(localSeconds(date, time));
        QCOMPARE(clock.dateText(), dateText);
        QCOMPARE(clock.timeText(), timeText);
        QCOMPARE(clock.getMaxWidth(), textWidth(dateText) + textWidth(timeText) + 18);
        QCOMPARE(clock.getMinWidth(), textWidth(timeText) + 4);
    }

    void liteClockStillCountsTheDateInItsFullWidth()
    {
        CCurrentTimeWidget clock(nullptr);
        getTimeService()->publishTime(localSeconds(QDate(2024, 1, 2), QTime(9, 5, 3)));
        const int full = clock.getMaxWidth();
        clock.switchToLite(true);
        QVERIFY(clock.isLite());
        QCOMPARE(clock.getMaxWidth(), full);
        QCOMPARE(clock.getMinWidth(), textWidth(QStringLiteral("09:05:03")) + 4);
    }

    void clockBackgroundFollowsHoverAndPress()
    {
        CCurrentTimeWidget clock(nullptr);
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(&clock, &enter);
        QCOMPARE(clock.mouseState(), 1);
        QTest::mousePress(&clock, Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(clock.mouseState(), 2);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&clock, &leave);
        QCOMPARE(clock.mouseState(), 0);
    }

    void releasingAnyButtonOpensTheMenuAboveTheClocksRightEdge_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left button") << Qt::LeftButton;
        QTest::newRow("right button") << Qt::RightButton;
        QTest::newRow("middle button") << Qt::MiddleButton;
    }
    void releasingAnyButtonOpensTheMenuAboveTheClocksRightEdge()
    {
        QFETCH(Qt::MouseButton, button);
        ClockWindow shown = shownClock();
        QVERIFY(QTest::qWaitForWindowExposed(shown.window.get()));
        QObject guard;
        PopupSeen seen;
        closePopupWhenOpen(&guard, &seen, false);
        clickClock(shown.clock, button);

        QVERIFY2(seen.menu, "no menu opened on release");
        QCOMPARE(seen.menu, static_cast<QMenu*>(shown.clock->menu()));
        // Its lower right corner meets the clock's upper right corner.
        const QPoint corner = shown.clock->mapToGlobal(QPoint(shown.clock->width(), 0));
        QCOMPARE(seen.geometry.topLeft() + QPoint(seen.geometry.width(), seen.geometry.height()), corner);
        QCOMPARE(shown.clock->mouseState(), 1);
    }

    void activationOpensTheMenuAboveTheClocksLeftEdge()
    {
        ClockWindow shown = shownClock();
        QVERIFY(QTest::qWaitForWindowExposed(shown.window.get()));
        QObject guard;
        PopupSeen seen;
        closePopupWhenOpen(&guard, &seen, false);
        QVERIFY(shown.clock->handleEvent(Event_Activate, 77, 0, QString(), nullptr));

        QCOMPARE(seen.menu, static_cast<QMenu*>(shown.clock->menu()));
        const QPoint corner = shown.clock->mapToGlobal(QPoint(0, 0));
        QCOMPARE(seen.geometry.bottomLeft() + QPoint(0, 1), corner);
    }

    void networkTimeEntryShowsTheUsersChoice_data()
    {
        QTest::addColumn<bool>("useNetworkTime");
        QTest::newRow("local clock") << false;
        QTest::newRow("network time") << true;
    }
    void networkTimeEntryShowsTheUsersChoice()
    {
        QFETCH(bool, useNetworkTime);
        getUserConfig()->useNetworkTime = useNetworkTime;
        CCurrentTimeWidget clock(nullptr);
        QAction* entry = clock.networkTimeAction();
        QCOMPARE(entry->text(), QStringLiteral("使用网络标准时间"));
        QVERIFY(entry->isCheckable());
        QCOMPARE(entry->isChecked(), useNetworkTime);
    }

    void choosingTheEntryFlipsNetworkTimeAndKeepsTheDisplay()
    {
        ClockWindow shown = shownClock();
        QVERIFY(QTest::qWaitForWindowExposed(shown.window.get()));
        getTimeService()->publishTime(localSeconds(QDate(2024, 1, 2), QTime(9, 5, 3)));
        QObject guard;
        PopupSeen seen;

        closePopupWhenOpen(&guard, &seen, true);
        clickClock(shown.clock, Qt::LeftButton);
        QVERIFY(getUserConfig()->useNetworkTime);
        QVERIFY(shown.clock->networkTimeAction()->isChecked());

        closePopupWhenOpen(&guard, &seen, true);
        clickClock(shown.clock, Qt::LeftButton);
        QVERIFY(!getUserConfig()->useNetworkTime);
        QCOMPARE(shown.clock->timeText(), QStringLiteral("09:05:03"));
    }
};

STATUSBAR_TEST_MAIN(TestClock)
#include "tst_clock.moc"
