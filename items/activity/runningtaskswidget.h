#pragma once

#include <statusbar/runningcounttext.h>
#include <statusbar/tstringmapsum.h>

#include <statusbar/itembasewidget.h>

#include <terminalhost/accountinfo.h>

#include <boost/asio/io_context_strand.hpp>
#include <boost/thread/recursive_mutex.hpp>

#include <memory>

class CPopCommonPanelDialog;
class CSimpleTextWidget;
class QTimer;
class SubRequest;

/**
 * @brief The running tasks item: the caption " 执行中任务: " and the number of trading tasks of
 * every account whose status is running.
 *
 * It subscribes once, at construction, to the tasks of all accounts; task records are merged on
 * the RPC engine's "ui_process" strand under the item's lock, and the 500 ms tick reads their sum
 * and redraws on the GUI thread. A click opens the popup task list when the user configuration
 * asks for it, otherwise sends event 1199.
 */
class CRunningTasksWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    explicit CRunningTasksWidget(QWidget* parent);
    ~CRunningTasksWidget() override;

    /// Shows count and resizes the item; the next tick shows the tracked sum again.
    void updateCount(int count);

    void switchToLite(bool lite) override;
    int getMaxWidth() override;
    int getMinWidth() override;
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

    /// Merges one task record; runs on the "ui_process" strand.
    void onTaskDetail(const IDataPtr& data);

    CSimpleTextWidget* label() const { return m_texts.label(); }
    CSimpleTextWidget* counter() const { return m_texts.counter(); }
    /// Null until the first click that needs it.
    CPopCommonPanelDialog* popupDialog() const { return m_popupDialog; }

signals:
    /// The counter became wider; the bar lays its row out again.
    void sigResizeRunningTaskSize();

public slots:
    void slotTimeout();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeChildren();

    CRunningCountText m_texts;
    CPopCommonPanelDialog* m_popupDialog = nullptr;
    int m_shownCount = 0;
    QTimer* m_refreshTimer = nullptr;
    std::shared_ptr<SubRequest> m_subscription;
    boost::recursive_mutex m_mutex;
    TStringMapSum<int> m_taskMarks; // guarded by m_mutex: task key -> 1 running, 0 otherwise
    std::shared_ptr<boost::asio::io_context::strand> m_executor;
};
