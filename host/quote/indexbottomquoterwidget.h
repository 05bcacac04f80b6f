#pragma once

#include <terminalhost/basewidget.h>
#include <terminalhost/quoterdata.h>

#include <QObject>
#include <QString>

#include <memory>
#include <mutex>
#include <vector>

/// Bus event a quote display sends when the user double-clicks it: text is the instrument's code
/// ("SH000001"), id and arg are 0. The main window opens the quote view of that instrument.
enum EQuoteEventType {
    Event_OpenQuoteView = 1350,
};

/**
 * @brief The latest quote of one subscription, shared between the engine's feed thread, which
 * writes it, and the display, which reads it on the GUI thread. It outlives the display when the
 * engine still holds its callback; sigQuoteChanged() is emitted on the feed thread and reaches the
 * display queued.
 */
class CIndexQuoteModel : public QObject
{
    Q_OBJECT
public:
    /// The subscription's callback; the feed thread calls it.
    void onQuote(int tag, int status, const std::vector<QuoterBasePtr>& records);
    CQuoteSnapshotPtr latest() const;

signals:
    void sigQuoteChanged();

private:
    mutable std::mutex m_mutex;
    CQuoteSnapshotPtr m_latest;
};

/**
 * @brief The index panel's compact quote display: an index's name (its code while the stock list
 * does not know it), last price, change and change percent, rises red and falls green.
 *
 * request() subscribes the index's snapshot through the formula manager (quote source type "股票",
 * singly); quotes then arrive on the engine's feed thread into a shared model and are drawn on the
 * GUI thread. unrequest() ends the subscription and keeps the last quote on show. A double click
 * sends Event_OpenQuoteView with the code.
 */
class TERMINALHOST_EXPORT CIndexBottomQuoterWidget : public CBaseWidget
{
    Q_OBJECT
public:
    explicit CIndexBottomQuoterWidget(QWidget* parent);
    ~CIndexBottomQuoterWidget() override;

    /// The index to show, exchange prefix and code ("SH000001"); drops a running subscription.
    void setStock(const QString& code);
    QString getStock() const { return m_code; }
    /// Subscribes the index's quote; does nothing while subscribed.
    void request();
    /// Ends the subscription, if any.
    void unrequest();
    bool isRequested() const { return m_subscriptionId >= 0; }
    /// The formula manager's id of the running subscription; -1 without one.
    long long subscriptionId() const { return m_subscriptionId; }

    /// What the display shows: the name, then the last price, the change and the change percent
    /// ("--" before the first quote).
    QString nameText() const { return m_name; }
    QString priceText() const { return m_price; }
    QString changeText() const { return m_change; }
    QString percentText() const { return m_percent; }
    /// The colour key of the three numbers: rise, fall or flat.
    QString numberColorKey() const { return m_numberColorKey; }

    void themeChanged() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private slots:
    void slotQuoteChanged();

private:
    void lookUpName();
    void showQuote(const CQuoteSnapshotPtr& quote);
    TSMetaInfo meta() const;

    QString m_code;
    QString m_name;
    QString m_price;
    QString m_change;
    QString m_percent;
    QString m_numberColorKey;
    long long m_subscriptionId = -1;
    std::shared_ptr<CIndexQuoteModel> m_model;
};
