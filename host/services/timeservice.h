#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QObject>

class QTimer;

/**
 * @brief The terminal's clock: emits the current time, as seconds since the epoch, once a second
 * while ticking.
 */
class TERMINALHOST_EXPORT CTimeService : public QObject
{
    Q_OBJECT
public:
    static CTimeService* instance();

    void setTicking(bool on);
    bool isTicking() const;
    /// Announces the given time at once, as a tick would.
    void publishTime(int seconds);

signals:
    void sigTimeUpdate(int seconds);

private:
    CTimeService();
    void tick();
    QTimer* m_timer = nullptr;
};

TERMINALHOST_EXPORT CTimeService* getTimeService();
