#pragma once

#include <terminalhost/accountinfo.h>
#include <terminalhost/rpcengine.h>
#include <terminalhost/terminalhost_export.h>

#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class CDataCenter;
class CDataSubscription;

/**
 * @brief The handle of a data center subscription: the subscription lives exactly as long as the
 * handle. Once the handle is gone no callback of the subscription runs any more; a callback already
 * running on another thread is waited for. So never drop a handle while holding a lock that its
 * callback takes.
 */
class TERMINALHOST_EXPORT SubRequest
{
public:
    explicit SubRequest(std::shared_ptr<CDataSubscription> subscription);
    ~SubRequest();
    SubRequest(const SubRequest&) = delete;
    SubRequest& operator=(const SubRequest&) = delete;

private:
    std::shared_ptr<CDataSubscription> m_subscription;
};
using SubRequestPtr = std::shared_ptr<SubRequest>;

/**
 * @brief One account's view of the data center's records (orders, tasks, ...), or, for the shared
 * store, every account's, and the subscriptions to them.
 *
 * The store holds no records of its own: the data center keeps each record once and the store
 * reads it from there. Callbacks run on the RPC engine's threads, one record at a time and in
 * publishing order per store, as the trade client's network layer delivers them.
 *
 * Subscribe before you read: a record published after subscribe() returns is delivered, one
 * published before getVector() takes its snapshot is read, so a record in between is delivered,
 * read, or both, and never lost.
 */
class TERMINALHOST_EXPORT CAccountData
{
public:
    using Callback = std::function<void(const IDataPtr&)>;

    ~CAccountData();
    CAccountData(const CAccountData&) = delete;
    CAccountData& operator=(const CAccountData&) = delete;

    /// The account's key; empty for the shared store.
    const std::string& accountKey() const { return m_accountKey; }
    /// The current records of one type in the order they first arrived; a record that was published
    /// again appears once, in its latest state. Completed records the data center aged out are gone.
    void getVector(int type, std::vector<IDataPtr>& out) const;
    /// Calls callback with every later record of type (only those keyed recordKey, unless it is empty).
    SubRequestPtr subscribe(int type, const std::string& recordKey, Callback callback);
    /// Blocks until every notification published so far has been delivered. Not from an engine thread.
    void waitForDeliveries();

private:
    friend class CDataCenter;
    CAccountData(CDataCenter* center, std::string accountKey);
    /// Posts record to the subscribers that want it. Under the data center's lock, so that the
    /// deliveries queue up in the order the records were stored.
    void notify(int type, const std::string& key, const IDataPtr& record);

    CDataCenter* m_center;
    std::string m_accountKey;
    std::vector<std::shared_ptr<CDataSubscription>> m_subscriptions; ///< guarded by the data center's lock
    bool m_loggedIn = false;                                         ///< guarded by the data center's lock
    std::shared_ptr<RPCEngine::Strand> m_deliveries;
};

/**
 * @brief The trade data of every account: each record once, in a table per record type, an account
 * store for each account that has logged in, and a shared store that sees every account's records.
 *
 * What it keeps, so that a terminal that runs all day stays flat:
 * - every record that can still change (a running order, a running task), for as long as it runs;
 * - completed records (filled, cancelled or rejected orders, finished or stopped tasks) for the rest
 *   of the trading day, as the terminal's order and task lists show them; beginTradingDay() drops
 *   them all. A record costs about 300 bytes, so a busy day of 100,000 orders holds about 30 MB.
 * Records go only at the start of a trading day, and nothing is delivered for them: a view that
 * mirrors a store (the running counters) rebuilds from it when the terminal announces the new day's
 * accounts right after (CUserConfig::reloadAccounts()). Dropping records at any other moment could
 * land between a view's unsubscribing and its reading again, and leave a stale mark behind.
 */
class TERMINALHOST_EXPORT CDataCenter
{
public:
    CDataCenter();
    ~CDataCenter();
    CDataCenter(const CDataCenter&) = delete;
    CDataCenter& operator=(const CDataCenter&) = delete;

    /// The account's store; null for an account that has none (never logged in, or reset since).
    CAccountData* getAccountData(const CAccountInfo& account);
    CAccountData* getAccountData(const std::string& accountKey);
    /// The store of all accounts' records.
    CAccountData* getSharedData();
    /// Subscribes to one account's records, or to every account's when accountKey is empty.
    SubRequestPtr subscribe(const std::string& accountKey, int type, const std::string& recordKey,
                            CAccountData::Callback callback);

    /// Gives the account a store (as its first login does); the existing one when it has one. The
    /// store sees the account's records published before as well.
    CAccountData* addAccount(const std::string& accountKey);
    /// Stores the record of the account, replacing the one with the same key, and notifies the
    /// account's store, if it has one, and the shared store. Any thread.
    void publish(const std::string& accountKey, int type, const IDataPtr& record);
    /// Blocks until every store has delivered what was published so far.
    void waitForDeliveries();
    /// A new trading day: every completed record is dropped, running ones carry over, and the memory
    /// they took goes back to the system. Follow it with CUserConfig::reloadAccounts() on the GUI
    /// thread, so that views rebuild from the stores.
    void beginTradingDay();
    /// Records of one type held now, and how many of them are completed.
    std::size_t recordCount(int type) const;
    std::size_t completedCount(int type) const;
    /// No accounts, no records, no subscriptions.
    void reset();

private:
    friend class CAccountData;
    struct Entry {
        IDataPtr record;
        CAccountData* account; ///< the store of the record's account; null for a record of no account
    };
    struct Table {
        std::list<Entry> entries; ///< first arrival order
        std::unordered_map<std::string, std::list<Entry>::iterator> byKey;
        std::size_t completed = 0;
    };

    CAccountData* storeOf(const std::string& accountKey);

    mutable std::mutex m_mutex; ///< guards everything below and every store's subscriptions
    std::map<int, Table> m_tables;
    // Stores are never destroyed while the data center lives, so their pointers stay valid; a store
    // exists for every account that published, and is handed out while its account is logged in.
    std::map<std::string, std::unique_ptr<CAccountData>> m_accounts;
    CAccountData m_shared;
};

/// @brief The trading side of the terminal, as other modules reach it.
class TERMINALHOST_EXPORT TraderCenter
{
public:
    static TraderCenter* instance();
    CDataCenter* getDataCenter() { return &m_dataCenter; }

private:
    TraderCenter() = default;
    CDataCenter m_dataCenter;
};
