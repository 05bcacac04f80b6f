#pragma once

#include <statusbar/runningmarkswidget.h>

#include <terminalhost/accountinfo.h>

#include <map>
#include <memory>
#include <string>

class SubRequest;

/**
 * @brief The running orders item: an icon, the caption " 执行中委托: " and the number of orders
 * not yet completed over every logged-in account the user has not filtered out.
 *
 * It subscribes to the orders of each account whose data is ready, at construction and again after
 * every reload of the account list; order records arrive on the data center's threads. A click opens the popup
 * orders panel when the user configuration asks for it, otherwise sends event 1198.
 */
class CRunningOrdersWidget : public CRunningMarksWidget
{
    Q_OBJECT
public:
    explicit CRunningOrdersWidget(QWidget* parent);
    ~CRunningOrdersWidget() override;

    /// Merges one order record; the data center calls it on its own threads.
    void onOrderDetail(const IDataPtr& data);

signals:
    /// The counter became wider; the bar lays its row out again.
    void sigResizeRunningOrderSize();

public slots:
    /// Counts one account (again) after its data was loaded.
    void slotRefreshAccount(const CAccountInfo& account);
    /// Full reload from the user configuration's account list.
    void slotRefreshAccount();
    /// Full reload from the user configuration's account list.
    void slotLoadAccounts();

protected:
    void numberWidened() override;

private:
    void reloadAllAccounts();

    std::map<std::string, std::shared_ptr<SubRequest>> m_subscriptions; // GUI thread only
};
