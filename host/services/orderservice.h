#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QObject>
#include <QString>

/**
 * @brief The order service: feeds orders to the terminal from files, DBF tables or CSV files while
 * it runs.
 */
class TERMINALHOST_EXPORT COrderService : public QObject
{
    Q_OBJECT
public:
    static COrderService* instance();

    bool hasRunning() const { return m_running; }
    /// Stores the state and emits sigSetStatus when it changed.
    void setRunning(bool running);
    /// The service's own status text, one line per running feed.
    QString getStatusBarTip() const { return m_statusTip; }
    void setStatusBarTip(const QString& tip) { m_statusTip = tip; }

    void reset();

signals:
    void sigSetStatus(bool running);

private:
    COrderService() = default;
    bool m_running = false;
    QString m_statusTip;
};
