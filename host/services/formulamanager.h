#pragma once

#include <terminalhost/quoterdata.h>
#include <terminalhost/terminalhost_export.h>

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CQuoterSubscription;

/// What the engine holds in memory, by category.
enum EMemoryCategory {
    MemoryCategory_DataCache = 0, ///< the quote data the engine has served, by instrument code
    MemoryCategory_Strategy = 1,  ///< the strategy models the engine runs
};

/// @brief The engine's memory analysis: per category, the names of the items it holds.
struct RPCMemoryAnalysisDetail {
    std::map<int, std::vector<std::string>> items; ///< category -> item names (UTF-8), in name order
};

/**
 * @brief The formula and quote engine as other modules reach it: subscriptions to quote series
 * (exchange announcements, instrument snapshots) per quote source type, the markets' last trade
 * dates, and the bookkeeping of which codes each source type has subscribed and how.
 *
 * The exchanges' feeds come in through publishNotices() and publishQuote() (the simulated back end
 * and tests call them). Batches reach the subscribers on the engine's own feed thread, never on the
 * caller's: right after subscribing a full batch of what is stored (status 0, or status 4 when the
 * region covers nothing), then increments (status 1) as records are published, in publishing order.
 * After unsubQuoter() returns no callback of that subscription starts any more; one already running
 * is waited for, so never unsubscribe while holding a lock that the callback takes.
 */
class TERMINALHOST_EXPORT CFormulaManager : public QObject
{
    Q_OBJECT
public:
    /// (tag: the subscription id's low 32 bits, status: EQuoterStatus, records)
    using QuoterCallback = std::function<void(int, int, const std::vector<std::shared_ptr<QuoterBase>>&)>;

    static CFormulaManager* instance();

    /**
     * Subscribes one series of one instrument for a quote source type. fromFullPush takes the code
     * from the type's full push when that is open; otherwise the code is subscribed singly, which
     * the type's subscription limit may refuse. Returns the subscription id, or -1 when the series
     * is unknown, the callback empty or the limit reached. Any thread.
     */
    long long subscribeQuoter(EProxyType type, const TSMetaInfo& meta, const TRegionInfo& region, DataDemand demand,
                              bool fromFullPush, QuoterCallback callback);
    /// Ends the subscription with that id when it is for meta's market and code. Any thread except
    /// inside another subscription's callback.
    void unsubQuoter(long long id, const TSMetaInfo& meta);
    /// Subscriptions alive now.
    int subscriptionCount() const;

    /// The market's last trade date, yyyymmdd; any thread. Unset markets answer today's trade date.
    long long getMarketLastTradeDate(const std::string& market) const;
    /// Stores the date and, when it changed, emits sigTradeDataChange(market) on the calling thread.
    void setMarketLastTradeDate(const std::string& market, long long tradeDate);

    /// The push settings of a quote source type and the codes its live subscriptions hold.
    QuoterDetail getQuoterDetail(int type) const;
    void setPushSettings(int type, const QuoterPushSettings& settings);

    /**
     * A batch of an exchange's announcement feed for market: delivered as it is to every
     * announcement subscriber of that market whose region covers its records (status 0 with nothing
     * covered goes out as status 4). The store follows status 0 (replaces the market's records) and
     * status 1 (adds them). Any thread.
     */
    void publishNotices(const std::string& market, int status, const std::vector<QuoterBasePtr>& records);
    /// One new announcement: an increment of one record.
    void publishNotice(const std::string& market, const NoticePtr& notice);
    /// The stored announcement records of a market, oldest key first.
    std::vector<QuoterBasePtr> getNotices(const std::string& market) const;

    /// A new quote of the snapshot's instrument: stored and pushed to its subscribers. Any thread.
    void publishQuote(const CQuoteSnapshotPtr& snapshot);
    /// The latest quote of an instrument ("SH000001"); null before the first.
    CQuoteSnapshotPtr getSnapshot(const std::string& code) const;

    /**
     * What the engine holds now: the data cache (category 0, always listed, one item per instrument
     * whose quote it keeps) and every model category with a running model (one item per model).
     * Replaces what detail held.
     */
    void queryMemAnalysisDetail(RPCMemoryAnalysisDetail& detail) const;
    /// Drops the data cache: the kept quotes go, and a new subscription's full batch finds nothing
    /// until the instrument's next quote. Subscriptions and announcements stay.
    void clearCache();
    /// A model the engine runs from now on, under a category other than the data cache; a model with
    /// the same id is renamed.
    void addRunningModel(int category, const std::string& id, const std::string& name);
    /// The model has ended; an unknown one does nothing.
    void removeRunningModel(int category, const std::string& id);

    /// Blocks until everything queued on the feed thread so far has been delivered. Not from the
    /// feed thread itself.
    void waitForFeed();
    /// True on the feed thread.
    bool isFeedThread() const;

    /// No subscriptions (each ended as unsubQuoter ends it), no records, no models, default settings
    /// and dates.
    void reset();

signals:
    /// The market's last trade date changed.
    void sigTradeDataChange(QString market);

private:
    CFormulaManager();
    using SubscriptionPtr = std::shared_ptr<CQuoterSubscription>;
    /// Queues a batch for one subscriber; m_mutex is held, so batches keep their order.
    void queue(const SubscriptionPtr& subscription, int status, std::vector<QuoterBasePtr> records);
    std::vector<QuoterBasePtr> historyFor(const CQuoterSubscription& subscription) const;
    bool limitReached(int type, const std::string& code) const;

    mutable std::mutex m_mutex;
    long long m_nextId = 1;
    std::map<long long, SubscriptionPtr> m_subscriptions;
    std::map<std::string, std::multimap<long long, QuoterBasePtr>> m_notices; ///< market -> key -> record
    std::map<std::string, CQuoteSnapshotPtr> m_snapshots;                     ///< instrument code -> latest
    std::map<std::string, long long> m_tradeDates;
    std::map<int, QuoterPushSettings> m_pushSettings;
    std::map<int, std::map<std::string, std::string>> m_models; ///< category -> model id -> name
};
