#pragma once

#include <statusbar/runningcountwidget.h>

#include <QSet>
#include <QString>

#include <string>

class CStrategyRunningDialog;

/**
 * @brief The status bar item that counts the strategy processes the strategy trade manager reports
 * as running. A click opens the list of those processes, where one or all can be stopped.
 *
 * The item takes the processes already running from the manager when it is built, then learns of
 * every start and end through the manager's status signal; it polls nothing.
 */
class CRunningCStrategyWidget : public CRunningCountWidget
{
    Q_OBJECT
public:
    explicit CRunningCStrategyWidget(QWidget* parent = nullptr);
    ~CRunningCStrategyWidget() override;

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
    void numberWidened() override;

private:
    CStrategyRunningDialog* m_dialog = nullptr;
    QSet<QString> m_runningIds; ///< request ids known as running; its size is the count shown
};
