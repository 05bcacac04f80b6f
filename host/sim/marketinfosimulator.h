#pragma once

#include <QObject>
#include <QSet>
#include <QString>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

class QTimer;

/**
 * @brief The simulated market information: the stock list, five index quotes, the exchanges'
 * announcements, the message centre's messages and the trading day.
 *
 * - Stock list: at start the five indices (上证指数, 创业板指, 深证成指, 沪深300, 科创50) and the
 *   simulated stocks go into CStockManager, and the list is announced complete.
 * - Index quotes: once a second every index moves with the market (a common move and one of its
 *   own), published through CFormulaManager::publishQuote.
 * - Announcements: at start and at each new trading day a morning's worth per exchange; then an
 *   ordinary one every few seconds and an important one now and then, for either exchange. Each
 *   title goes out once a trading day; an exchange that has said everything stays quiet.
 * - Messages: every few seconds a trade or system message, now and then a risk or news message,
 *   through CMsgService.
 * - Trading day: now and then the next trading day begins: the indices' previous closes move on
 *   and both exchanges' last trade dates change (CFormulaManager::sigTradeDataChange).
 *
 * Everything runs on the GUI thread from timers; the host services deliver on their own threads.
 * The public operations are what a control panel offers, and what the timers do.
 */
class CMarketInfoSimulator : public QObject
{
    Q_OBJECT
public:
    /// The five indices the status bar's ticker shows, in its order.
    static const std::vector<std::string>& indexCodes();

    explicit CMarketInfoSimulator(std::uint32_t seed, QObject* parent = nullptr);
    ~CMarketInfoSimulator() override;

    /// Fills the stock list, publishes the first quotes and the morning's announcements, starts the timers.
    void start();
    /// Stops the timers; what was published stays.
    void stop();
    bool isRunning() const { return m_running; }
    /// 1 is real time; clamped to [0.1, 20].
    void setSpeedFactor(double factor);

    /// Publishes a new announcement of the exchange ("SH" or "SZ"): important (level 1 or 2) or
    /// ordinary. False when the exchange has made every announcement of that level this trading day.
    bool pushNotice(const std::string& market, bool important);
    /// Publishes a message of that type (0 system, 1 trade, 2 risk, 3 news).
    void pushMessage(int type);
    /// Begins the next trading day.
    void changeTradeDate();
    /// Announces the stock list complete again, as a reload does.
    void finishStockList();
    /// Takes an instrument off the stock list or puts it back ("SH000688").
    void setInstrumentListed(const QString& code, bool listed);
    bool isInstrumentListed(const QString& code) const;
    /// The current trading day, yyyymmdd.
    long long tradeDate() const { return m_tradeDate; }

    /// One second of the indices, as its timer does it.
    void stepIndices();
    /// One announcement step: maybe an announcement, mostly ordinary.
    void stepNotices();
    /// One message step: a message of a random type.
    void stepMessages();
    /// One trading day step: rarely, the next trading day.
    void stepTradeDate();

signals:
    /// After each published announcement.
    void sigNoticePublished(const QString& market, int level, const QString& title);
    /// After each published message.
    void sigMessagePublished(int type, const QString& title);

private:
    struct IndexState {
        std::string code;
        double previousClose;
        double last;
        double beta; ///< how strongly it follows the common move
    };
    void fillStockList();
    void publishIndex(const IndexState& index);
    void publishMorningNotices();
    bool publishNotice(const std::string& market, int level, long long key);
    long long nextKey();
    void applyIntervals();

    std::mt19937 m_rng;
    QTimer* m_indexTimer = nullptr;
    QTimer* m_noticeTimer = nullptr;
    QTimer* m_messageTimer = nullptr;
    QTimer* m_tradeDateTimer = nullptr;
    bool m_running = false;
    double m_speedFactor = 1.0;
    long long m_tradeDate = 0;
    long long m_morningDate = 0; ///< the trading day whose morning announcements went out
    long long m_lastKey = 0;
    std::vector<IndexState> m_indices;
    std::vector<std::string> m_delisted; ///< codes taken off the list by setInstrumentListed
    QSet<QString> m_publishedTitles;     ///< this trading day's announcements, both exchanges
};
