#include "tradeactivitysimulator.h"

#include <terminalhost/datacenter.h>
#include <terminalsim/siminstruments.h>
#include <terminalhost/tradedata.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kStepMs = 250;
constexpr int kTaskStepEvery = 6;          // order steps per task step: tasks move every 1.5 s
constexpr std::size_t kMinRunningOrders = 3;
constexpr std::size_t kMaxRunningOrders = 15;
constexpr double kAcceptChance = 0.5;      // per step: the exchange accepts or rejects an order within about 0.5 s
constexpr double kAdvanceChance = 0.08;    // per step: a queued order keeps its state about 3 s
constexpr double kQuietPlaceChance = 0.25; // per step, new orders: about one a second ...
constexpr double kBusyPlaceChance = 0.60;  // ... or between two and three in a busy spell
constexpr double kBusyFlipChance = 0.02;   // per step: spells last about twelve seconds
constexpr double kRejectChance = 0.08;     // of a submitted order
constexpr double kPartFillChance = 0.35;   // of a queued order's next change
constexpr double kFillChance = 0.35;
constexpr double kFillAfterPartChance = 0.70;
constexpr double kPriceSpread = 0.02;      // limit prices lie within 2 % of the reference
constexpr int kMaxLots = 30;

constexpr std::size_t kMaxRunningTasks = 4;
constexpr double kTaskStartChance = 0.30;  // per task step while fewer than the maximum run
constexpr int kMinTaskSteps = 8;           // task steps a task runs: 12 to 45 s
constexpr int kMaxTaskSteps = 30;
constexpr double kTaskFinishChance = 0.8;  // the rest are stopped by the user

// Orders an account already has when it logs in: the morning's trades, one of them still queued.
constexpr EOrderStatus kOpeningOrders[] = {OrderStatus_Filled, OrderStatus_Filled, OrderStatus_Cancelled,
                                           OrderStatus_Queued};

const char* const kTaskNames[] = {"TWAP-600901", "VWAP-601288", "篮子-调仓", "篮子-建仓", "冰山-IF2606", "条件单-RB2610"};

bool isRunningOrder(int status)
{
    return status == OrderStatus_Submitting || status == OrderStatus_Queued || status == OrderStatus_PartFilled;
}

std::string sequenceId(const char* prefix, std::uint64_t number)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%s%06llu", prefix, static_cast<unsigned long long>(number));
    return text;
}
}

CTradeActivitySimulator::CTradeActivitySimulator(std::uint32_t seed, std::vector<CAccountInfoPtr> accounts)
    : m_accounts(std::move(accounts))
    , m_loggedIn(new std::atomic<bool>[m_accounts.size()])
    , m_opened(m_accounts.size(), false)
{
    for (std::size_t i = 0; i < m_accounts.size(); ++i)
        m_loggedIn[i].store(false);
    std::seed_seq tradeSeed{seed, 0x545244u};
    m_rng.seed(tradeSeed);
}

CTradeActivitySimulator::~CTradeActivitySimulator()
{
    stop();
}

void CTradeActivitySimulator::start()
{
    if (isRunning())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopRequested = false;
    }
    m_worker = std::thread([this] { run(); });
}

void CTradeActivitySimulator::stop()
{
    if (!isRunning())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopRequested = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

void CTradeActivitySimulator::setAccountLoggedIn(std::size_t accountIndex, bool loggedIn)
{
    if (accountIndex < m_accounts.size())
        m_loggedIn[accountIndex].store(loggedIn);
}

bool CTradeActivitySimulator::waitForNextStep()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto pause = std::chrono::milliseconds(static_cast<long long>(kStepMs / m_speedFactor.load()));
    return !m_wake.wait_for(lock, pause, [this] { return m_stopRequested; });
}

void CTradeActivitySimulator::run()
{
    while (waitForNextStep())
        step();
}

bool CTradeActivitySimulator::chance(double probability)
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_rng) < probability;
}

std::size_t CTradeActivitySimulator::pick(std::size_t count)
{
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_rng);
}

void CTradeActivitySimulator::step()
{
    std::vector<std::size_t> live;
    for (std::size_t a = 0; a < m_accounts.size(); ++a) {
        if (!m_loggedIn[a].load())
            continue;
        live.push_back(a);
        if (!m_opened[a]) {
            m_opened[a] = true;
            for (EOrderStatus status : kOpeningOrders)
                placeOrder(a, status);
        }
    }
    stepOrders(live);
    if (++m_steps % kTaskStepEvery == 0)
        stepTasks(live);
}

void CTradeActivitySimulator::stepOrders(const std::vector<std::size_t>& live)
{
    const auto isLive = [&live](std::size_t account) { return std::find(live.begin(), live.end(), account) != live.end(); };

    // Only a logged-in account hears from its exchange; the others' orders wait where they are.
    for (Order& order : m_orders) {
        const double advance = order.status == OrderStatus_Submitting ? kAcceptChance : kAdvanceChance;
        if (!isLive(order.account) || !chance(advance))
            continue;
        switch (order.status) {
        case OrderStatus_Submitting:
            order.status = chance(kRejectChance) ? OrderStatus_Rejected : OrderStatus_Queued;
            break;
        case OrderStatus_Queued: {
            const double roll = std::uniform_real_distribution<double>(0.0, 1.0)(m_rng);
            order.status = roll < kPartFillChance             ? OrderStatus_PartFilled
                : roll < kPartFillChance + kFillChance        ? OrderStatus_Filled
                                                              : OrderStatus_Cancelled;
            break;
        }
        default:
            order.status = chance(kFillAfterPartChance) ? OrderStatus_Filled : OrderStatus_Cancelled;
            break;
        }
        publishOrder(order);
    }
    m_orders.erase(std::remove_if(m_orders.begin(), m_orders.end(), [](const Order& order) { return !isRunningOrder(order.status); }),
                   m_orders.end());

    if (chance(kBusyFlipChance))
        m_busy = !m_busy;
    if (live.empty())
        return;
    const std::size_t running = m_orders.size();
    const bool place = running < kMinRunningOrders
        || (running < kMaxRunningOrders && chance(m_busy ? kBusyPlaceChance : kQuietPlaceChance));
    if (place)
        placeOrder(live[pick(live.size())], OrderStatus_Submitting);
}

void CTradeActivitySimulator::placeOrder(std::size_t account, int status)
{
    const std::size_t instrument = pick(kSimInstrumentCount);
    const SimInstrument& reference = kSimInstruments[instrument];
    const double offset = std::uniform_real_distribution<double>(-kPriceSpread, kPriceSpread)(m_rng);
    Order order{sequenceId((m_accounts[account]->getKey() + "-").c_str(), m_nextOrderId++),
                account,
                instrument,
                status,
                reference.lot * std::uniform_int_distribution<int>(1, kMaxLots)(m_rng),
                std::round(reference.price * (1.0 + offset) / reference.tick) * reference.tick};
    publishOrder(order);
    if (isRunningOrder(status))
        m_orders.push_back(std::move(order));
}

void CTradeActivitySimulator::publishOrder(const Order& order)
{
    const std::string& accountKey = m_accounts[order.account]->getKey();
    TraderCenter::instance()->getDataCenter()->publish(
        accountKey, TradeData_OrderDetail,
        std::make_shared<COrderDetail>(order.id, accountKey, kSimInstruments[order.instrument].code,
                                       static_cast<EOrderStatus>(order.status), order.volume, order.price));
    m_publishedOrders.fetch_add(1);
}

void CTradeActivitySimulator::stepTasks(const std::vector<std::size_t>& live)
{
    const auto isLive = [&live](std::size_t account) { return std::find(live.begin(), live.end(), account) != live.end(); };
    for (Task& task : m_tasks) {
        if (isLive(task.account) && --task.stepsLeft <= 0)
            publishTask(task, chance(kTaskFinishChance) ? CTaskDetail::kStatusFinished : CTaskDetail::kStatusStopped);
    }
    m_tasks.erase(std::remove_if(m_tasks.begin(), m_tasks.end(), [](const Task& task) { return task.stepsLeft <= 0; }),
                  m_tasks.end());

    if (live.empty() || m_tasks.size() >= kMaxRunningTasks)
        return;
    if (!m_tasks.empty() && !chance(kTaskStartChance))
        return;
    Task task{sequenceId("TK", m_nextTaskId++), live[pick(live.size())], kTaskNames[pick(std::size(kTaskNames))],
              std::uniform_int_distribution<int>(kMinTaskSteps, kMaxTaskSteps)(m_rng)};
    publishTask(task, CTaskDetail::kStatusRunning);
    m_tasks.push_back(std::move(task));
}

void CTradeActivitySimulator::publishTask(const Task& task, int status)
{
    const std::string& accountKey = m_accounts[task.account]->getKey();
    TraderCenter::instance()->getDataCenter()->publish(accountKey, TradeData_TaskDetail,
                                                       std::make_shared<CTaskDetail>(task.id, accountKey, task.name, status));
    m_publishedTasks.fetch_add(1);
}
