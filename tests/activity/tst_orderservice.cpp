#include <testmain.h>

#include <eventrecorder.h>

#include <floatserviceswitchwidget.h>
#include <orderstrategywidget.h>
#include <serviceswitchcheckbox.h>

#include <imagewidget.h>
#include <luamodulectrl.h>
#include <orderservice.h>
#include <simpletextwidget.h>
#include <uiresource.h>
#include <userconfig.h>

#include <QDir>
#include <QToolTip>

#include <memory>

Q_DECLARE_METATYPE(QVector<int>)

namespace {
const QString kRestBackground = QStringLiteral("clr_statusbar_item_default_bg");
const QString kRestBorder = QStringLiteral("clr_statusbar_item_default_border");
const QString kHoverBorder = QStringLiteral("clr_statusbar_item_enter_border");
const QStringList kRenameModule{QStringLiteral("mdl_auth"), QStringLiteral("mdl_auth_order_service_rename")};

void offerServices(bool file, bool dbf, bool csv)
{
    getUserConfig()->setHasFileOrderService(file);
    getUserConfig()->setHasDbfOrderService(dbf);
    getUserConfig()->setHasCsvOrderService(csv);
}

// A main window with the item in its bottom row, shown, so that global positions are real.
std::unique_ptr<QWidget> windowWithItem()
{
    auto window = std::make_unique<QWidget>();
    window->move(200, 400);
    window->resize(200, 24);
    auto* item = new COrderStrategyWidget(window.get());
    item->setGeometry(40, 0, item->width(), 24);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the main window was never exposed");
    return window;
}

COrderStrategyWidget* itemIn(const std::unique_ptr<QWidget>& window)
{
    return window->findChild<COrderStrategyWidget*>();
}

CFloatServiceSwitchWidget* press(COrderStrategyWidget* item, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(item, button, {}, QPoint(10, 10));
    return item->menu();
}

QStringList rowTexts(const CFloatServiceSwitchWidget* menu)
{
    QStringList texts;
    for (const CServiceSwitchCheckBox* row : menu->rows())
        texts << row->text();
    return texts;
}

QColor pixelOf(QWidget* widget, int x, int y)
{
    return widget->grab().toImage().pixelColor(x, y);
}

QColor colorOf(const QString& key)
{
    return CUiResource::instance()->getColor(key);
}
}

class TestOrderService : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }
    void cleanup() { QToolTip::hideText(); }

    void iconFollowsTheOrderServiceState()
    {
        COrderService::instance()->setRunning(true);
        COrderStrategyWidget item;
        const auto* icon = item.findChild<CImageWidget*>();
        QCOMPARE(icon->imageKey(), QStringLiteral("tc_img_status_bar_orderstrategy_running"));
        COrderService::instance()->setRunning(false);
        QCOMPARE(icon->imageKey(), QStringLiteral("tc_img_status_bar_orderstrategy_none"));
        COrderService::instance()->setRunning(true);
        QCOMPARE(icon->imageKey(), QStringLiteral("tc_img_status_bar_orderstrategy_running"));
        QCOMPARE(item.width(), 29);
    }

    void menuOffersTheAvailableServicesAboveTheItemLegibly_data()
    {
        QTest::addColumn<bool>("file");
        QTest::addColumn<bool>("dbf");
        QTest::addColumn<bool>("csv");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("height");
        QTest::addColumn<QVector<int>>("rowsY");
        const QString file = QStringLiteral("文件单");
        const QString dbf = QStringLiteral("批量埋单");
        const QString csv = QStringLiteral("CSV预埋");
        QTest::newRow("file only") << true << false << false << QStringList{file} << 68 << QVector<int>{14};
        QTest::newRow("file and dbf") << true << true << false << QStringList{file, dbf} << 68 << QVector<int>{14, 34};
        QTest::newRow("dbf and csv") << false << true << true << QStringList{dbf, csv} << 68 << QVector<int>{14, 34};
        QTest::newRow("all three") << true << true << true << QStringList{file, dbf, csv} << 98 << QVector<int>{19, 39, 59};
    }
    void menuOffersTheAvailableServicesAboveTheItemLegibly()
    {
        QFETCH(bool, file);
        QFETCH(bool, dbf);
        QFETCH(bool, csv);
        QFETCH(QStringList, texts);
        QFETCH(int, height);
        QFETCH(QVector<int>, rowsY);
        offerServices(file, dbf, csv);
        auto window = windowWithItem();
        COrderStrategyWidget* item = itemIn(window);
        CFloatServiceSwitchWidget* menu = press(item);
        QVERIFY2(menu && menu->isVisible(), "a left press opened no menu");
        QCOMPARE(rowTexts(menu), texts);
        QCOMPARE(menu->height(), height);
        QVector<int> seenY;
        for (const CServiceSwitchCheckBox* row : menu->rows()) {
            QCOMPARE(row->x(), 10);
            seenY << row->y();
            const int textRight = row->x() + row->textWidget()->x() + row->textWidget()->width();
            QVERIFY2(textRight < menu->width(), qPrintable(QStringLiteral("%1 ends at %2").arg(row->text()).arg(textRight)));
        }
        QCOMPARE(seenY, rowsY);
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        const QString picture = QStringLiteral("order_service_menu_%1.png").arg(QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_')));
        QVERIFY(menu->grab().save(QDir::current().filePath(picture)));
        const QPoint itemTopLeft = item->mapToGlobal(QPoint(0, 0));
        QCOMPARE(menu->pos(), itemTopLeft + QPoint(0, 12 - height));
        QCOMPARE(item->backgroundKey(), kRestBackground);
        QCOMPARE(item->borderKey(), kHoverBorder);
    }

    void fileEntryWordingFollowsTheModuleRight_data()
    {
        QTest::addColumn<bool>("granted");
        QTest::addColumn<QString>("text");
        QTest::newRow("renamed module granted") << true << QStringLiteral("便捷交易");
        QTest::newRow("renamed module not granted") << false << QStringLiteral("文件单");
    }
    void fileEntryWordingFollowsTheModuleRight()
    {
        QFETCH(bool, granted);
        QFETCH(QString, text);
        LuaModuleCtrl::setModule(kRenameModule, granted);
        offerServices(true, false, false);
        auto window = windowWithItem();
        QCOMPARE(rowTexts(press(itemIn(window))), QStringList{text});
    }

    void pressesThatOpenNoMenu_data()
    {
        QTest::addColumn<bool>("csvOnly");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("border");
        QTest::newRow("left press with only the CSV service") << true << int(Qt::LeftButton) << kHoverBorder;
        QTest::newRow("right press with every service") << false << int(Qt::RightButton) << kRestBorder;
    }
    void pressesThatOpenNoMenu()
    {
        QFETCH(bool, csvOnly);
        QFETCH(int, button);
        QFETCH(QString, border);
        offerServices(!csvOnly, !csvOnly, true);
        auto window = windowWithItem();
        COrderStrategyWidget* item = itemIn(window);
        QVERIFY(!press(item, Qt::MouseButton(button)));
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(item->backgroundKey(), kRestBackground);
        QCOMPARE(item->borderKey(), border);
    }

    void choosingAnEntryHidesTheMenuAndAsksTheMainWindowToOpenIt_data()
    {
        QTest::addColumn<int>("rowIndex");
        QTest::addColumn<int>("arg");
        QTest::newRow("file orders") << 0 << 1;
        QTest::newRow("batch pre-placed orders") << 1 << 3;
        QTest::newRow("CSV pre-placed orders") << 2 << 4;
    }
    void choosingAnEntryHidesTheMenuAndAsksTheMainWindowToOpenIt()
    {
        QFETCH(int, rowIndex);
        QFETCH(int, arg);
        offerServices(true, true, true);
        EventRecorder mainWindow;
        auto window = windowWithItem();
        CFloatServiceSwitchWidget* menu = press(itemIn(window));
        QTest::mousePress(menu->rows().at(rowIndex), Qt::LeftButton, {}, QPoint(30, 10));
        QVERIFY(!menu->isVisible());
        QCOMPARE(mainWindow.events().size(), 1);
        QCOMPARE(mainWindow.events().first().type, 1080);
        QCOMPARE(mainWindow.events().first().arg, arg);
    }

    void menuIsBuiltOnceKeepsItsFirstEntriesAndGoesWithTheItem()
    {
        offerServices(true, false, false);
        auto window = windowWithItem();
        CFloatServiceSwitchWidget* menu = press(itemIn(window));
        menu->hide();
        getUserConfig()->setHasDbfOrderService(true);
        QCOMPARE(press(itemIn(window)), menu);
        QVERIFY(menu->isVisible());
        QCOMPARE(rowTexts(menu).size(), 1);
        QSignalSpy destroyed(menu, &QObject::destroyed);
        window.reset();
        QCOMPARE(destroyed.count(), 1);
    }

    void hoverShowsTheServiceStatusAndLightsTheItem()
    {
        const QString tip = QStringLiteral("文件单: 运行中\n批量埋单: 已停止");
        COrderService::instance()->setStatusBarTip(tip);
        auto window = windowWithItem();
        COrderStrategyWidget* item = itemIn(window);
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(item, &enter);
        QTRY_COMPARE(QToolTip::text(), tip);
        QCOMPARE(pixelOf(item, 2, 2), colorOf(QStringLiteral("clr_statusbar_item_enter_bg")));
        QCOMPARE(pixelOf(item, 0, 12), colorOf(kHoverBorder));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(item, &leave);
        QCOMPARE(pixelOf(item, 2, 2), colorOf(kRestBackground));
        QCOMPARE(pixelOf(item, item->width() - 1, 12), colorOf(kRestBorder));
    }
};

STATUSBAR_TEST_MAIN(TestOrderService)
#include "tst_orderservice.moc"
