#pragma once

#include <statusbar/runningcounttext.h>

#include <statusbar/itembasewidget.h>

#include <QSet>
#include <QString>

#include <string>

class CSimpleTextWidget;
class CStrategyRunningDialog;

/**
 * @brief The status bar item that counts the strategy processes the strategy trade manager reports
 * as running. A click opens the list of those processes, where one or all can be stopped.
 *
 * The item learns of every start and end through the manager's status signal; it polls nothing.
 */
class CRunningCStrategyWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    explicit CRunningCStrategyWidget(QWidget* parent = nullptr);
    ~CRunningCStrategyWidget() override;

    /// Shows count on the counter, widens it when the number needs more room and lays the item out.
    void updateCount(int count);

    void switchToLite(bool lite) override;
    int getMaxWidth() override;
    int getMinWidth() override;

    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

signals:
    /// The counter grew wider: the bar has to fit its row again.
    void sigResizeRunningStrategySize();

public slots:
    /// A status report of the strategy trade manager; ids and names are UTF-8.
    void slotsProcessStatus(const std::string& requestId, const std::string& name, bool running);
    /// The user stopped one strategy in the dialog.
    void slotStrategyRemove(const QString& requestId);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setCaption(bool lite);
    void layoutChildren();

    CRunningCountText m_texts;
    CStrategyRunningDialog* m_dialog = nullptr;
    QSet<QString> m_runningIds; ///< request ids known as running; its size is the count shown
};
