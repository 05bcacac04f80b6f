#pragma once

#include <terminalhost/accountinfo.h>
#include <terminalhost/rpcengine.h>
#include <terminalhost/terminalhost_export.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

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
 * @brief One account's records (orders, tasks, ...) by type, in the order they first arrived, and
 * the subscriptions to them.
 *
 * Callbacks run on the RPC engine's threads, one record at a time and in publishing order per store,
 * as the trade client's network layer delivers them.
 */
class TERMINALHOST_EXPORT CAccountData
{
public:
    using Callback = std::function<void(const IDataPtr&)>;

    explicit CAccountData(std::string accountKey);
    ~CAccountData();

    const std::string& accountKey() const { return m_accountKey; }
    /// The current records of one type; a record that was published again appears once, in its latest state.
    void getVector(int type, std::vector<IDataPtr>& out) const;
    /// Calls callback with every later record of type (only those keyed recordKey, unless it is empty).
    SubRequestPtr subscribe(int type, const std::string& recordKey, Callback callback);
    /// Stores the record, replacing the one with the same key, and notifies the subscribers. Any thread.
    void publish(int type, const IDataPtr& record);
    /// Blocks until every notification published so far has been delivered. Not from an engine thread.
    void waitForDeliveries();
    /// Forgets every record and subscription.
    void clear();

private:
    struct Records {
        std::vector<IDataPtr> list;
        std::unordered_map<std::string, std::size_t> index; ///< key -> position in list
    };

    std::string m_accountKey;
    mutable std::mutex m_mutex;
    std::map<int, Records> m_records;
    std::vector<std::shared_ptr<CDataSubscription>> m_subscriptions;
    std::shared_ptr<RPCEngine::Strand> m_deliveries;
};

/**
 * @brief The trade data of every account: one store per account that has logged in, and a shared
 * store that holds the records of all accounts together.
 */
class TERMINALHOST_EXPORT CDataCenter
{
public:
    CDataCenter();
    ~CDataCenter();

    /// The account's store; null for an account that has none.
    CAccountData* getAccountData(const CAccountInfo& account);
    CAccountData* getAccountData(const std::string& accountKey);
    /// The store of all accounts' records.
    CAccountData* getSharedData();
    /// Subscribes to one account's records, or to every account's when accountKey is empty.
    SubRequestPtr subscribe(const std::string& accountKey, int type, const std::string& recordKey,
                            CAccountData::Callback callback);

    /// Gives the account a store (as its first login does); the existing one when it has one.
    CAccountData* addAccount(const std::string& accountKey);
    /// Publishes a record of the account to its store, if it has one, and to the shared store.
    void publish(const std::string& accountKey, int type, const IDataPtr& record);
    /// Blocks until every store has delivered what was published so far.
    void waitForDeliveries();
    /// No accounts, no records, no subscriptions.
    void reset();

private:
    mutable std::mutex m_mutex;
    // Stores are never destroyed while the data center lives, so their pointers stay valid.
    std::map<std::string, std::unique_ptr<CAccountData>> m_accounts;
    std::set<std::string> m_activeAccounts;
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
