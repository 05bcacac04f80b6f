#include "datacenter.h"

#include <boost/asio/post.hpp>

#include <algorithm>
#include <atomic>

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

CAccountData::CAccountData(std::string accountKey)
    : m_accountKey(std::move(accountKey))
    , m_deliveries(RPCEngine::instance()->newStrand())
{
}

CAccountData::~CAccountData() = default;

void CAccountData::getVector(int type, std::vector<IDataPtr>& out) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_records.find(type);
    out = it == m_records.end() ? std::vector<IDataPtr>() : it->second.list;
}

SubRequestPtr CAccountData::subscribe(int type, const std::string& recordKey, Callback callback)
{
    if (!callback)
        return nullptr;
    auto subscription = std::make_shared<CDataSubscription>(type, recordKey, std::move(callback));
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_subscriptions.push_back(subscription);
    }
    return std::make_shared<SubRequest>(subscription);
}

void CAccountData::publish(int type, const IDataPtr& record)
{
    if (!record)
        return;
    const std::string key = record->getKey();
    std::vector<std::shared_ptr<CDataSubscription>> receivers;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Records& records = m_records[type];
        const auto found = records.index.find(key);
        if (found == records.index.end()) {
            records.index.emplace(key, records.list.size());
            records.list.push_back(record);
        } else {
            records.list[found->second] = record;
        }
        // Ended subscriptions are dropped here, on the way, rather than by their handles.
        m_subscriptions.erase(std::remove_if(m_subscriptions.begin(), m_subscriptions.end(),
                                             [](const auto& subscription) { return !subscription->isActive(); }),
                              m_subscriptions.end());
        for (const auto& subscription : m_subscriptions) {
            if (subscription->wants(type, key))
                receivers.push_back(subscription);
        }
    }
    if (receivers.empty())
        return;
    boost::asio::post(*m_deliveries, [receivers = std::move(receivers), record] {
        for (const auto& subscription : receivers)
            subscription->deliver(record);
    });
}

void CAccountData::waitForDeliveries()
{
    RPCEngine::waitForStrand(*m_deliveries);
}

void CAccountData::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.clear();
    m_subscriptions.clear();
}

CDataCenter::CDataCenter()
    : m_shared(std::string())
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
    if (!m_activeAccounts.count(accountKey))
        return nullptr;
    return m_accounts.at(accountKey).get();
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

CAccountData* CDataCenter::addAccount(const std::string& accountKey)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::unique_ptr<CAccountData>& store = m_accounts[accountKey];
    if (!store)
        store = std::make_unique<CAccountData>(accountKey);
    m_activeAccounts.insert(accountKey);
    return store.get();
}

void CDataCenter::publish(const std::string& accountKey, int type, const IDataPtr& record)
{
    if (CAccountData* store = getAccountData(accountKey))
        store->publish(type, record);
    m_shared.publish(type, record);
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
    for (const auto& entry : m_accounts)
        entry.second->clear();
    m_activeAccounts.clear();
    m_shared.clear();
}

TraderCenter* TraderCenter::instance()
{
    static TraderCenter* center = new TraderCenter; // lives for the process; engine threads may still deliver
    return center;
}
