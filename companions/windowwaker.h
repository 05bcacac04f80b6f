#pragma once

#include <QObject>

class QTimer;
class QWidget;

/**
 * @brief Brings a companion's window to the front on request.
 *
 * Requests that arrive together (the launcher touches the signal file and the terminal sends its
 * raise command within a few milliseconds) make one wake and one report.
 */
class CWindowWaker : public QObject
{
    Q_OBJECT
public:
    explicit CWindowWaker(QWidget* window);

public slots:
    void requestWake();

signals:
    /// The window is shown, restored and raised.
    void sigWoken();

private:
    void wake();

    QWidget* m_window = nullptr;
    QTimer* m_coalesce = nullptr;
};
