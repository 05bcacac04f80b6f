#pragma once

#include <statusbar/itembasewidget.h>

#include <boost/signals2/connection.hpp>

#include <atomic>
#include <memory>

class CMessage;
class CSimpleTextWidget;
class QTimer;

/**
 * @brief The message count: "消息提示:" and the number of system and trade messages (types 0 and 1)
 * that arrived since the last click, shown once a second in the rise colour. A click on either text
 * clears the count and asks the main window for its message view (StatusBarEvent::Messages).
 *
 * New messages are counted on the message service's thread with one atomic increment; the GUI
 * thread reads and replaces the count.
 */
class CRollingMessageWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    explicit CRollingMessageWidget(QWidget* parent);
    ~CRollingMessageWidget() override;

    bool handleEvent(int type, int id, int arg, QString text, void* data) override;
    int getMaxWidth() override;
    int getMinWidth() override;
    void switchToLite(bool lite) override;

    /// The count as it stands, which the text shows from the next tick on.
    int count() const { return m_count->load(); }
    CSimpleTextWidget* titleText() const { return m_title; }
    CSimpleTextWidget* countText() const { return m_countText; }

protected slots:
    void slotTimeout();
    void slotRefresh();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    /// The message service's notification; runs on its thread and touches only the count.
    static void countMessage(std::atomic<int>* count, const std::shared_ptr<CMessage>& message);

    CSimpleTextWidget* m_title = nullptr;
    CSimpleTextWidget* m_countText = nullptr;
    // Shared with the notification, which holds it while it runs (slot tracking): a notification
    // still running when the item goes counts into the cell, never into a destroyed item.
    std::shared_ptr<std::atomic<int>> m_count = std::make_shared<std::atomic<int>>(0);
    QTimer* m_timer = nullptr;
    boost::signals2::connection m_connection;
};
