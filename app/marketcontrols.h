#pragma once

#include <QGroupBox>

class CMarketInfoSimulator;
class QComboBox;
class QLayout;
class QPushButton;

/**
 * @brief The control panel's market group: pushes announcements and messages at once, begins the
 * next trading day, announces the stock list complete and takes "SH000688" off the list or back.
 *
 * Each control calls the market simulator, which publishes through the host services as its own
 * timers do; the status bar's items see no difference.
 */
class CMarketControls : public QGroupBox
{
    Q_OBJECT
public:
    CMarketControls(CMarketInfoSimulator* market, QWidget* parent);

signals:
    /// What a control did, for the event log.
    void sigNote(const QString& text);

private:
    QLayout* noticeButtons();
    QLayout* messageRow();
    QLayout* dayButtons();
    void toggleStar50();
    void showStar50State();

    CMarketInfoSimulator* m_market = nullptr;
    QComboBox* m_messageType = nullptr;
    QPushButton* m_star50 = nullptr;
};
