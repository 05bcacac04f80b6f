#include "orderflood.h"

#include <terminalsim/siminstruments.h>
#include <terminalhost/tradedata.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>

namespace {
constexpr int kTickMs = 5;                     // the threads publish in batches this often
constexpr std::uint64_t kMaxCatchUp = 20000;   // updates; after a stall the schedule resumes rather than bursting
constexpr std::uint64_t kMaxInFlight = 10000;  // records per account published but not yet delivered
constexpr int kRoomPollMs = 1;
constexpr int kMaxRoomWaitMs = 200;            // a data center that stopped delivering must not hang the flood
constexpr int kStopCheckEvery = 256;           // updates between looks at the stop flag inside a batch
constexpr int kKeysPerThread = COrderFlood::kKeysPerAccount / COrderFlood::kThreadCount;

// Flood records carry a type of their own so that the flood's delivery count can tell them from the
// orders the regular simulation publishes to the same store; every reader sees a plain order.
class CFloodOrderDetail : public COrderDetail
{
public:
    using COrderDetail::COrderDetail;
};

// Each order walks a small life cycle; a completed order's key is reused for the next order, so the
// pool of keys stays fixed while the states keep changing. About seven in ten orders are running.
EOrderStatus nextStatus(EOrderStatus status, std::uint32_t roll)
{
    const std::uint32_t percent = roll % 100;
    switch (status) {
    case OrderStatus_Submitting:
        return percent < 80 ? OrderStatus_Queued : OrderStatus_Rejected;
    case OrderStatus_Queued:
        return percent < 40 ? OrderStatus_PartFilled : percent < 70 ? OrderStatus_Filled : OrderStatus_Cancelled;
    case OrderStatus_PartFilled:
        return percent < 40 ? OrderStatus_PartFilled : percent < 80 ? OrderStatus_Filled : OrderStatus_Cancelled;
    case OrderStatus_Filled:
    case OrderStatus_Cancelled:
    case OrderStatus_Rejected:
        break;
    }
    return OrderStatus_Submitting;
}
}

/// What the threads and the controlling thread share about one account.
struct COrderFlood::AccountLane {
    /// Published and delivered flood records of one subscription; a new subscription gets a new tally.
    struct Tally {
        std::atomic<std::uint64_t> published{0};
        std::atomic<std::uint64_t> delivered{0};
    };

    std::atomic<bool> loggedIn{false};
    std::mutex mutex;                   // guards the two members below
    SubRequestPtr deliveries;           // counts what reached the engine's threads
    std::shared_ptr<Tally> tally;
};

COrderFlood::COrderFlood(std::uint32_t seed, std::vector<CAccountInfoPtr> accounts)
    : m_seed(seed)
    , m_accounts(std::move(accounts))
{
    for (std::size_t i = 0; i < m_accounts.size(); ++i)
        m_lanes.push_back(std::make_unique<AccountLane>());
}

COrderFlood::~COrderFlood()
{
    stop();
}

void COrderFlood::setAccountLoggedIn(std::size_t accountIndex, bool loggedIn)
{
    if (accountIndex < m_lanes.size())
        m_lanes[accountIndex]->loggedIn.store(loggedIn);
}

void COrderFlood::start(int updatesPerSecond)
{
    if (isRunning() || updatesPerSecond <= 0)
        return;
    m_rate = updatesPerSecond;
    m_stopRequested.store(false);
    const double perThread = static_cast<double>(updatesPerSecond) / kThreadCount;
    for (int i = 0; i < kThreadCount; ++i)
        m_threads.emplace_back([this, i, perThread] { run(i, perThread); });
}

void COrderFlood::stop()
{
    if (!isRunning())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopRequested.store(true);
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
    m_threads.clear();
    // Records still on their way reach a counter that nobody reads any more; the handles go last.
    for (auto& lane : m_lanes) {
        std::lock_guard<std::mutex> lock(lane->mutex);
        lane->deliveries.reset();
        lane->tally.reset();
    }
}

bool COrderFlood::waitUntil(std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait_until(lock, deadline, [this] { return m_stopRequested.load(); });
    return !m_stopRequested.load();
}

bool COrderFlood::waitForRoom(AccountLane& lane)
{
    std::shared_ptr<AccountLane::Tally> tally;
    {
        std::lock_guard<std::mutex> lock(lane.mutex);
        tally = lane.tally;
    }
    if (!tally)
        return !m_stopRequested.load();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMaxRoomWaitMs);
    while (tally->published.load() - tally->delivered.load() > kMaxInFlight) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= giveUp)
            break;
        if (!waitUntil(now + std::chrono::milliseconds(kRoomPollMs)))
            return false;
    }
    return !m_stopRequested.load();
}

void COrderFlood::run(int threadIndex, double updatesPerSecond)
{
    CDataCenter* dataCenter = TraderCenter::instance()->getDataCenter();
    std::seed_seq seedSequence{m_seed, 0x464c4fu, static_cast<std::uint32_t>(threadIndex)};
    std::mt19937 rng(seedSequence);

    // This thread's share of each account's keys, named once, and the state of each of its orders.
    struct Book {
        std::vector<std::string> keys;
        std::vector<EOrderStatus> states;
    };
    std::vector<Book> books(m_accounts.size());
    for (std::size_t a = 0; a < m_accounts.size(); ++a) {
        const std::string prefix = "F" + m_accounts[a]->getKey() + "-" + std::to_string(threadIndex) + "-";
        for (int k = 0; k < kKeysPerThread; ++k)
            books[a].keys.push_back(prefix + std::to_string(k));
        books[a].states.assign(kKeysPerThread, OrderStatus_Filled);
    }

    const auto begin = std::chrono::steady_clock::now();
    auto nextTick = begin;
    std::uint64_t sent = 0;
    std::vector<std::size_t> live;
    while (!m_stopRequested.load()) {
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        const auto due = static_cast<std::uint64_t>(elapsed * updatesPerSecond);
        sent = std::max(sent, due > kMaxCatchUp ? due - kMaxCatchUp : 0);
        const std::uint64_t batch = due - std::min(due, sent);

        live.clear();
        for (std::size_t a = 0; a < m_lanes.size(); ++a) {
            if (m_lanes[a]->loggedIn.load())
                live.push_back(a);
        }
        if (live.empty()) {
            sent = due; // no account to trade on: the updates of this tick are not owed later
        } else {
            // The batch is shared out over the logged-in accounts; each share waits for room first.
            for (std::size_t i = 0; i < live.size() && !m_stopRequested.load(); ++i) {
                const std::size_t a = live[i];
                AccountLane& lane = *m_lanes[a];
                const std::uint64_t share = batch / live.size() + (i < batch % live.size() ? 1 : 0);
                if (share == 0 || !waitForRoom(lane))
                    continue;
                std::shared_ptr<AccountLane::Tally> tally;
                {
                    std::lock_guard<std::mutex> lock(lane.mutex);
                    if (!lane.deliveries) {
                        CAccountData* store = dataCenter->getAccountData(*m_accounts[a]);
                        if (!store)
                            continue; // marked before its store exists; the next tick finds it
                        auto fresh = std::make_shared<AccountLane::Tally>();
                        lane.deliveries = store->subscribe(TradeData_OrderDetail, std::string(), [fresh](const IDataPtr& record) {
                            if (dynamic_cast<const CFloodOrderDetail*>(record.get()))
                                fresh->delivered.fetch_add(1, std::memory_order_relaxed);
                        });
                        lane.tally = fresh;
                    }
                    tally = lane.tally;
                }
                const std::string& accountKey = m_accounts[a]->getKey();
                Book& book = books[a];
                for (std::uint64_t n = 0; n < share; ++n) {
                    if (n % kStopCheckEvery == kStopCheckEvery - 1 && m_stopRequested.load())
                        break;
                    const std::uint32_t roll = rng();
                    const std::size_t k = roll % kKeysPerThread;
                    const EOrderStatus status = nextStatus(book.states[k], roll >> 16);
                    book.states[k] = status;
                    const SimInstrument& instrument = kSimInstruments[k % kSimInstrumentCount];
                    tally->published.fetch_add(1, std::memory_order_relaxed);
                    dataCenter->publish(accountKey, TradeData_OrderDetail,
                                        std::make_shared<CFloodOrderDetail>(book.keys[k], accountKey, instrument.code, status,
                                                                            instrument.lot * static_cast<int>(1 + k % 20),
                                                                            instrument.price));
                    m_published.fetch_add(1, std::memory_order_relaxed);
                }
            }
            sent += batch;
        }

        nextTick += std::chrono::milliseconds(kTickMs);
        const auto now = std::chrono::steady_clock::now();
        if (nextTick < now)
            nextTick = now; // behind schedule: publish again at once, the catch-up bound keeps it sane
        if (!waitUntil(nextTick))
            break;
    }
}
