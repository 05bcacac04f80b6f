#pragma once

#include <statusbar/runningcounttext.h>
#include <statusbar/tstringmapsum.h>

#include <statusbar/itembasewidget.h>

#include <terminalhost/accountinfo.h>

#include <boost/thread/recursive_mutex.hpp>

#include <map>
#include <memory>
#include <string>

class CImageWidget;
class CPopCommonPanelDialog;
class CSimpleTextWidget;
class QTimer;
class SubRequest;

/**
 * @brief The running orders item: an icon, the caption " 执行中委托: " and the number of orders
 * not yet completed over every logged-in account the user has not filtered out.
 *
 * Order records arrive on the data center's threads and only touch the order marks, under the
 * item's lock; the 500 ms tick reads their sum and redraws on the GUI thread. A click opens the
 * popup orders panel when the user configuration asks for it, otherwise sends event 1198.
 */
class CRunningOrdersWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    explicit CRunningOrdersWidget(QWidget* parent);
    ~CRunningOrdersWidget() override;

    /// Shows count and resizes the item; the next tick shows the tracked sum again.
    void updateCount(int count);

    void switchToLite(bool lite) override;
    int getMaxWidth() override;
    int getMinWidth() override;
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

    /// Merges one order record; the data center calls it on its own threads.
    void onOrderDetail(const IDataPtr& data);

    CImageWidget* image() const { return m_image; }
    CSimpleTextWidget* label() const { return m_texts.label(); }
    CSimpleTextWidget* counter() const { return m_texts.counter(); }
    /// Null until the first click that needs it.
    CPopCommonPanelDialog* popupDialog() const { return m_popupDialog; }

signals:
    /// The counter became wider; the bar lays its row out again.
    void sigResizeRunningOrderSize();

public slots:
    void slotTimeout();
    /// Counts one account (again) after its data was loaded.
    void slotRefreshAccount(const CAccountInfo& account);
    /// Full reload from the user configuration's account list.
    void slotRefreshAccount();
    /// Full reload from the user configuration's account list.
    void slotLoadAccounts();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void reloadAllAccounts();
    void placeChildren();

    CImageWidget* m_image = nullptr;
    CRunningCountText m_texts;
    CPopCommonPanelDialog* m_popupDialog = nullptr;
    int m_shownCount = 0;
    QTimer* m_refreshTimer = nullptr;
    std::map<std::string, std::shared_ptr<SubRequest>> m_subscriptions; // GUI thread only
    boost::recursive_mutex m_mutex;
    TStringMapSum<int> m_orderMarks; // guarded by m_mutex: order key -> 1 running, 0 completed
};
