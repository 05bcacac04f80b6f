#pragma once

#include <statusbar/runningmarkswidget.h>

#include <terminalhost/accountinfo.h>
#include <terminalhost/rpcengine.h>

#include <memory>

class SubRequest;

/**
 * @brief The running tasks item: the caption " 执行中任务: " and the number of trading tasks of
 * every account whose status is running.
 *
 * It subscribes once, at construction, to the tasks of all accounts; task records are merged on
 * the RPC engine's "ui_process" strand. A click opens the popup task list when the user
 * configuration asks for it, otherwise sends event 1199.
 */
class CRunningTasksWidget : public CRunningMarksWidget
{
    Q_OBJECT
public:
    explicit CRunningTasksWidget(QWidget* parent);
    ~CRunningTasksWidget() override;

    /// Merges one task record; runs on the "ui_process" strand.
    void onTaskDetail(const IDataPtr& data);

signals:
    /// The counter became wider; the bar lays its row out again.
    void sigResizeRunningTaskSize();

protected:
    void numberWidened() override;

private:
    std::shared_ptr<SubRequest> m_subscription;
    std::shared_ptr<RPCEngine::Strand> m_executor;
};
