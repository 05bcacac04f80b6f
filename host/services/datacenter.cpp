#include "datacenter.h"

#include <boost/asio/post.hpp>

#include <algorithm>
#include <atomic>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

/// One subscriber's interest in a store. Delivery and cancellation exclude each other, so that a
/// cancelled subscription never calls back; the mutex is recursive because a callback may itself
/// end its own subscription.
class CDataSubscription
{
public:
    CDataSubscription(int type, std::string recordKey, CAccountData::Callback callback)
        : m_type(type)
        , m_recordKey(std::move(recordKey))
        , m_callback(std::move(callback))
    {
    }

    bool wants(int type, const std::string& key) const
    {
        return m_active.load() && type == m_type && (m_recordKey.empty() || m_recordKey == key);
    }
    bool isActive() const { return m_active.load(); }

    void deliver(const IDataPtr& record)
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        if (m_active.load())
            m_callback(record);
    }

    void cancel()
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        m_active.store(false);
        m_callback = nullptr;
    }

private:
    const int m_type;
    const std::string m_recordKey;
    std::recursive_mutex m_mutex;
    std::atomic<bool> m_active{true};
    CAccountData::Callback m_callback;
};

SubRequest::SubRequest(std::shared_ptr<CDataSubscription> subscription)
    : m_subscription(std::move(subscription))
{
}

SubRequest::~SubRequest()
{
    m_subscription->cancel();
}

CAccountData::CAccountData(CDataCenter* center, std::string accountKey)
    : m_center(center)
    , m_accountKey(std::move(accountKey))
    , m_deliveries(RPCEngine::instance()->newStrand())
{
}

CAccountData::~CAccountData() = default;

void CAccountData::getVector(int type, std::vector<IDataPtr>& out) const
{
    out.clear();
    const bool shared = this == &m_center->m_shared;
    std::lock_guard<std::mutex> lock(m_center->m_mutex);
    const auto table = m_center->m_tables.find(type);
    if (table == m_center->m_tables.end())
        return;
    for (const CDataCenter::Entry& entry : table->second.entries) {
        if (shared || entry.account == this)
            out.push_back(entry.record);
    }
}

SubRequestPtr CAccountData::subscribe(int type, const std::string& recordKey, Callback callback)
{
    if (!callback)
        return nullptr;
    auto subscription = std::make_shared<CDataSubscription>(type, recordKey, std::move(callback));
    {
        std::lock_guard<std::mutex> lock(m_center->m_mutex);
        m_subscriptions.push_back(subscription);
    }
    return std::make_shared<SubRequest>(subscription);
}

void CAccountData::notify(int type, const std::string& key, const IDataPtr& record)
{
    // Ended subscriptions are dropped here, on the way, rather than by their handles.
    m_subscriptions.erase(std::remove_if(m_subscriptions.begin(), m_subscriptions.end(),
                                         [](const auto& subscription) { return !subscription->isActive(); }),
                          m_subscriptions.end());
    std::vector<std::shared_ptr<CDataSubscription>> receivers;
    for (const auto& subscription : m_subscriptions) {
        if (subscription->wants(type, key))
            receivers.push_back(subscription);
    }
    if (receivers.empty())
        return;
    // post() never runs the handler here, so posting under the data center's lock cannot deadlock.
    boost::asio::post(*m_deliveries, [receivers = std::move(receivers), record] {
        for (const auto& subscription : receivers)
            subscription->deliver(record);
    });
}

void CAccountData::waitForDeliveries()
{
    RPCEngine::waitForStrand(*m_deliveries);
}

CDataCenter::CDataCenter()
    : m_shared(this, std::string())
{
}

CDataCenter::~CDataCenter() = default;

CAccountData* CDataCenter::getAccountData(const CAccountInfo& account)
{
    return getAccountData(account.getKey());
}

CAccountData* CDataCenter::getAccountData(const std::string& accountKey)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_accounts.find(accountKey);
    return it != m_accounts.end() && it->second->m_loggedIn ? it->second.get() : nullptr;
}

CAccountData* CDataCenter::getSharedData()
{
    return &m_shared;
}

SubRequestPtr CDataCenter::subscribe(const std::string& accountKey, int type, const std::string& recordKey,
                                     CAccountData::Callback callback)
{
    CAccountData* store = accountKey.empty() ? getSharedData() : getAccountData(accountKey);
    return store ? store->subscribe(type, recordKey, std::move(callback)) : nullptr;
}

CAccountData* CDataCenter::storeOf(const std::string& accountKey)
{
    std::unique_ptr<CAccountData>& store = m_accounts[accountKey];
    if (!store)
        store.reset(new CAccountData(this, accountKey));
    return store.get();
}

CAccountData* CDataCenter::addAccount(const std::string& accountKey)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CAccountData* store = storeOf(accountKey);
    store->m_loggedIn = true;
    return store;
}

void CDataCenter::publish(const std::string& accountKey, int type, const IDataPtr& record)
{
    if (!record)
        return;
    const std::string key = record->getKey();
    const bool completed = record->isCompleted();
    std::lock_guard<std::mutex> lock(m_mutex);
    CAccountData* account = accountKey.empty() ? nullptr : storeOf(accountKey);
    Table& table = m_tables[type];
    const auto found = table.byKey.find(key);
    if (found == table.byKey.end()) {
        table.entries.push_back(Entry{record, account});
        table.byKey.emplace(key, std::prev(table.entries.end()));
    } else {
        Entry& entry = *found->second;
        table.completed -= entry.record->isCompleted() ? 1 : 0;
        entry.record = record;
        entry.account = account;
    }
    table.completed += completed ? 1 : 0;

    if (account && account->m_loggedIn)
        account->notify(type, key, record);
    m_shared.notify(type, key, record);
}

void CDataCenter::beginTradingDay()
{
    std::vector<IDataPtr> dropped; // released after the lock: a record's destructor is not ours to time
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto& typeTable : m_tables) {
            Table& table = typeTable.second;
            for (auto it = table.entries.begin(); it != table.entries.end();) {
                if (it->record->isCompleted()) {
                    dropped.push_back(std::move(it->record));
                    table.byKey.erase(dropped.back()->getKey());
                    it = table.entries.erase(it);
                } else {
                    ++it;
                }
            }
            table.completed = 0;
        }
    }
    dropped.clear();
#if defined(__GLIBC__)
    // A day's records are freed in many small pieces that glibc keeps for itself; once a day they
    // go back to the system, so that a terminal's size follows what it holds.
    malloc_trim(0);
#endif
}

std::size_t CDataCenter::recordCount(int type) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_tables.find(type);
    return it == m_tables.end() ? 0 : it->second.entries.size();
}

std::size_t CDataCenter::completedCount(int type) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_tables.find(type);
    return it == m_tables.end() ? 0 : it->second.completed;
}

void CDataCenter::waitForDeliveries()
{
    std::vector<CAccountData*> stores{&m_shared};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& entry : m_accounts)
            stores.push_back(entry.second.get());
    }
    for (CAccountData* store : stores)
        store->waitForDeliveries();
}

void CDataCenter::reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tables.clear();
    for (const auto& entry : m_accounts) {
        entry.second->m_subscriptions.clear();
        entry.second->m_loggedIn = false;
    }
    m_shared.m_subscriptions.clear();
}

TraderCenter* TraderCenter::instance()
{
    static TraderCenter* center = new TraderCenter; // lives for the process; engine threads may still deliver
    return center;
}
