#include "formulamanager.h"

#include <QDate>

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>

#include <algorithm>
#include <cstdint>
#include <future>
#include <set>
#include <thread>

namespace {
constexpr int kSaturday = 6;
constexpr int kSunday = 7;
constexpr long long kYearFactor = 10000;
constexpr long long kMonthFactor = 100;

long long dateNumber(const QDate& date)
{
    return date.year() * kYearFactor + date.month() * kMonthFactor + date.day();
}

/// Today, or the Friday before when today is a weekend day: the exchanges do not trade then.
long long todaysTradeDate()
{
    QDate date = QDate::currentDate();
    while (date.dayOfWeek() == kSaturday || date.dayOfWeek() == kSunday)
        date = date.addDays(-1);
    return dateNumber(date);
}

int lowWord(long long id)
{
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned long long>(id)));
}

/// The engine's feed: one thread of its own that runs every delivery, in the order queued. It lives
/// for the process and is joined at exit.
class QuoteFeed
{
public:
    static QuoteFeed& instance()
    {
        static QuoteFeed feed;
        return feed;
    }
    ~QuoteFeed()
    {
        m_work.reset();
        m_io.stop();
        m_thread.join();
    }
    QuoteFeed(const QuoteFeed&) = delete;
    QuoteFeed& operator=(const QuoteFeed&) = delete;

    template <typename Job>
    void post(Job&& job)
    {
        boost::asio::post(m_io, std::forward<Job>(job));
    }
    bool isFeedThread() const { return std::this_thread::get_id() == m_thread.get_id(); }

private:
    QuoteFeed()
        : m_work(boost::asio::make_work_guard(m_io))
        , m_thread([this] { m_io.run(); })
    {
    }

    boost::asio::io_context m_io;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> m_work;
    std::thread m_thread;
};
}

/// One subscriber of one series. Delivery and cancellation exclude each other, so a cancelled
/// subscription never calls back; the mutex is recursive because a callback may end its own
/// subscription.
class CQuoterSubscription
{
public:
    CQuoterSubscription(long long id, EProxyType type, TSMetaInfo meta, const TRegionInfo& region, DataDemand demand,
                        bool fullPush, CFormulaManager::QuoterCallback callback)
        : id(id)
        , type(type)
        , meta(std::move(meta))
        , region(region)
        , demand(demand)
        , fullPush(fullPush)
        , code(this->meta.market + this->meta.code)
        , m_callback(std::move(callback))
    {
    }

    bool wantsHistory() const { return demand == DataDemand_History || demand == DataDemand_HistoryAndPush; }
    bool wantsPush() const { return demand == DataDemand_Push || demand == DataDemand_HistoryAndPush; }
    bool covers(const QuoterBase& record) const
    {
        return record.tradeDate() >= region.startDate && record.key() >= region.startKey && record.key() <= region.endKey;
    }

    void deliver(int status, const std::vector<QuoterBasePtr>& records)
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        if (m_callback)
            m_callback(lowWord(id), status, records);
    }

    void cancel()
    {
        CFormulaManager::QuoterCallback dropped;
        {
            std::lock_guard<std::recursive_mutex> lock(m_mutex);
            std::swap(dropped, m_callback);
        }
        // Whatever the callback holds goes here, outside the lock.
    }

    const long long id;
    const EProxyType type;
    const TSMetaInfo meta;
    const TRegionInfo region;
    const DataDemand demand;
    const bool fullPush; ///< taken from the full push, else subscribed singly
    const std::string code; ///< market and code, "SH000001"

private:
    std::recursive_mutex m_mutex;
    CFormulaManager::QuoterCallback m_callback;
};

CFormulaManager* CFormulaManager::instance()
{
    static CFormulaManager* manager = new CFormulaManager; // lives for the process; the feed may still deliver
    return manager;
}

CFormulaManager::CFormulaManager()
{
    QuoteFeed::instance(); // the feed thread starts with the engine
}

bool CFormulaManager::limitReached(int type, const std::string& code) const
{
    const auto settings = m_pushSettings.find(type);
    const int limit = settings == m_pushSettings.end() ? 0 : settings->second.subscribeLimit;
    if (limit <= 0)
        return false;
    std::set<std::string> singles;
    for (const auto& entry : m_subscriptions) {
        if (entry.second->type == type && !entry.second->fullPush)
            singles.insert(entry.second->code);
    }
    return !singles.count(code) && static_cast<int>(singles.size()) >= limit;
}

long long CFormulaManager::subscribeQuoter(EProxyType type, const TSMetaInfo& meta, const TRegionInfo& region,
                                           DataDemand demand, bool fromFullPush, QuoterCallback callback)
{
    if (!callback || (meta.metaId != MetaId_Notice && meta.metaId != MetaId_Snapshot))
        return -1;
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto settings = m_pushSettings.find(type);
    const bool fullPush = fromFullPush && settings != m_pushSettings.end() && settings->second.fullPushOpen;
    if (!fullPush && limitReached(type, meta.market + meta.code))
        return -1;
    const long long id = m_nextId++;
    auto subscription = std::make_shared<CQuoterSubscription>(id, type, meta, region, demand, fullPush, std::move(callback));
    m_subscriptions.emplace(id, subscription);
    if (subscription->wantsHistory()) {
        std::vector<QuoterBasePtr> history = historyFor(*subscription);
        const int status = history.empty() ? QuoterStatus_Empty : QuoterStatus_Full;
        queue(subscription, status, std::move(history));
    }
    return id;
}

std::vector<QuoterBasePtr> CFormulaManager::historyFor(const CQuoterSubscription& subscription) const
{
    std::vector<QuoterBasePtr> records;
    if (subscription.meta.metaId == MetaId_Snapshot) {
        const auto snapshot = m_snapshots.find(subscription.code);
        if (snapshot != m_snapshots.end() && subscription.covers(*snapshot->second))
            records.push_back(snapshot->second);
        return records;
    }
    const auto store = m_notices.find(subscription.meta.market);
    if (store == m_notices.end())
        return records;
    // Newest first, so that skipping and the count limit act on the newest records; handed out oldest first.
    long long skipped = 0;
    for (auto it = store->second.rbegin(); it != store->second.rend(); ++it) {
        if (static_cast<long long>(records.size()) >= subscription.region.maxCount)
            break;
        if (!subscription.covers(*it->second))
            continue;
        if (skipped < subscription.region.skipNewest) {
            ++skipped;
            continue;
        }
        records.push_back(it->second);
    }
    std::reverse(records.begin(), records.end());
    return records;
}

void CFormulaManager::queue(const SubscriptionPtr& subscription, int status, std::vector<QuoterBasePtr> records)
{
    QuoteFeed::instance().post([subscription, status, records = std::move(records)] { subscription->deliver(status, records); });
}

void CFormulaManager::unsubQuoter(long long id, const TSMetaInfo& meta)
{
    SubscriptionPtr subscription;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_subscriptions.find(id);
        if (it == m_subscriptions.end() || it->second->meta.market != meta.market || it->second->meta.code != meta.code)
            return;
        subscription = it->second;
        m_subscriptions.erase(it);
    }
    // Without m_mutex: this waits for a callback that is running now.
    subscription->cancel();
}

int CFormulaManager::subscriptionCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_subscriptions.size());
}

long long CFormulaManager::getMarketLastTradeDate(const std::string& market) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_tradeDates.find(market);
    return it == m_tradeDates.end() ? todaysTradeDate() : it->second;
}

void CFormulaManager::setMarketLastTradeDate(const std::string& market, long long tradeDate)
{
    if (getMarketLastTradeDate(market) == tradeDate)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_tradeDates[market] = tradeDate;
    }
    emit sigTradeDataChange(QString::fromStdString(market));
}

QuoterDetail CFormulaManager::getQuoterDetail(int type) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QuoterDetail detail;
    const auto settings = m_pushSettings.find(type);
    if (settings != m_pushSettings.end()) {
        detail.fullPushOpen = settings->second.fullPushOpen;
        detail.forcedFullPush = settings->second.forcedFullPush;
        detail.smartFullPush = settings->second.smartFullPush;
        detail.needFullPush = settings->second.needFullPush;
        detail.subscribeLimit = settings->second.subscribeLimit;
    }
    std::set<std::string> singles;
    std::set<std::string> fromFullPush;
    for (const auto& entry : m_subscriptions) {
        if (entry.second->type == type)
            (entry.second->fullPush ? fromFullPush : singles).insert(entry.second->code);
    }
    const bool proxy = isProxyQuoteType(type);
    (proxy ? detail.proxySingleCodes : detail.singleCodes).assign(singles.begin(), singles.end());
    (proxy ? detail.proxyFullPushCodes : detail.fullPushCodes).assign(fromFullPush.begin(), fromFullPush.end());
    return detail;
}

void CFormulaManager::setPushSettings(int type, const QuoterPushSettings& settings)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pushSettings[type] = settings;
}

void CFormulaManager::publishNotices(const std::string& market, int status, const std::vector<QuoterBasePtr>& records)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::multimap<long long, QuoterBasePtr>& store = m_notices[market];
    if (status == QuoterStatus_Full)
        store.clear();
    if (status == QuoterStatus_Full || status == QuoterStatus_Increment) {
        for (const QuoterBasePtr& record : records) {
            if (record)
                store.emplace(record->key(), record);
        }
    }
    for (const auto& entry : m_subscriptions) {
        const SubscriptionPtr& subscription = entry.second;
        if (subscription->meta.metaId != MetaId_Notice || subscription->meta.market != market || !subscription->wantsPush())
            continue;
        std::vector<QuoterBasePtr> covered;
        for (const QuoterBasePtr& record : records) {
            if (record && subscription->covers(*record))
                covered.push_back(record);
        }
        if (status == QuoterStatus_Full && covered.empty())
            queue(subscription, QuoterStatus_Empty, {});
        else if (!covered.empty() || status != QuoterStatus_Increment)
            queue(subscription, status, std::move(covered));
    }
}

void CFormulaManager::publishNotice(const std::string& market, const NoticePtr& notice)
{
    if (notice)
        publishNotices(market, QuoterStatus_Increment, {notice});
}

std::vector<QuoterBasePtr> CFormulaManager::getNotices(const std::string& market) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<QuoterBasePtr> records;
    const auto store = m_notices.find(market);
    if (store != m_notices.end()) {
        for (const auto& entry : store->second)
            records.push_back(entry.second);
    }
    return records;
}

void CFormulaManager::publishQuote(const CQuoteSnapshotPtr& snapshot)
{
    if (!snapshot)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_snapshots[snapshot->code()] = snapshot;
    for (const auto& entry : m_subscriptions) {
        const SubscriptionPtr& subscription = entry.second;
        if (subscription->meta.metaId == MetaId_Snapshot && subscription->code == snapshot->code()
            && subscription->wantsPush() && subscription->covers(*snapshot))
            queue(subscription, QuoterStatus_Increment, {snapshot});
    }
}

CQuoteSnapshotPtr CFormulaManager::getSnapshot(const std::string& code) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_snapshots.find(code);
    return it == m_snapshots.end() ? nullptr : it->second;
}

void CFormulaManager::queryMemAnalysisDetail(RPCMemoryAnalysisDetail& detail) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    detail.items.clear();
    std::vector<std::string>& cache = detail.items[MemoryCategory_DataCache];
    cache.reserve(m_snapshots.size());
    for (const auto& entry : m_snapshots)
        cache.push_back(entry.first);
    for (const auto& category : m_models) {
        if (category.second.empty())
            continue;
        std::vector<std::string>& names = detail.items[category.first];
        for (const auto& model : category.second)
            names.push_back(model.second + " (" + model.first + ")");
        std::sort(names.begin(), names.end());
    }
}

void CFormulaManager::clearCache()
{
    std::map<std::string, CQuoteSnapshotPtr> dropped;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::swap(dropped, m_snapshots);
    }
    // The quotes are freed here, outside the lock; subscribers may still hold their own copies.
}

void CFormulaManager::addRunningModel(int category, const std::string& id, const std::string& name)
{
    if (category == MemoryCategory_DataCache)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_models[category][id] = name;
}

void CFormulaManager::removeRunningModel(int category, const std::string& id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_models.find(category);
    if (it == m_models.end())
        return;
    it->second.erase(id);
    if (it->second.empty())
        m_models.erase(it);
}

bool CFormulaManager::isFeedThread() const
{
    return QuoteFeed::instance().isFeedThread();
}

void CFormulaManager::waitForFeed()
{
    if (isFeedThread())
        return;
    std::promise<void> reached;
    QuoteFeed::instance().post([&reached] { reached.set_value(); });
    reached.get_future().wait();
}

void CFormulaManager::reset()
{
    std::map<long long, SubscriptionPtr> ended;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::swap(ended, m_subscriptions);
        m_notices.clear();
        m_snapshots.clear();
        m_tradeDates.clear();
        m_pushSettings.clear();
        m_models.clear();
    }
    for (const auto& entry : ended)
        entry.second->cancel();
}
