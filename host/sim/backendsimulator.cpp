#include "backendsimulator.h"

#include <terminalhost/datacenter.h>
#include <terminalsim/marketinfosimulator.h>
#include <terminalsim/orderflood.h>
#include <terminalhost/orderservice.h>
#include <terminalhost/quoteclient.h>
#include <terminalhost/serviceclient.h>
#include <terminalhost/strategytrademanager.h>
#include <terminalsim/tradeactivitysimulator.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/userconfig.h>

#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
constexpr int kNetworkStepMs = 1000;
constexpr int kQuoteStepMs = 3000;
constexpr int kLoginStepMs = 3000;
constexpr int kFirstLoginMs = 600;      // the accounts log in shortly after start, as after a terminal's login
constexpr int kStrategyStepMs = 2500;
constexpr int kOrderServiceStepMs = 5000;
constexpr double kTradingDayMs = CBackendSimulator::kTradingDaySeconds * 1000.0;
constexpr double kMinSpeedFactor = 0.1;
constexpr double kMaxSpeedFactor = 20.0;
constexpr double kMsPerSecond = 1000.0;

// The latency walk holds each band for a while, then moves to the next band of a shuffled cycle of
// all four, so that every band is seen within about forty seconds.
struct DelayBand {
    double lowMs;
    double highMs;
};
constexpr DelayBand kDelayBands[] = {{3.0, 17.0}, {23.0, 37.0}, {43.0, 57.0}, {66.0, 110.0}};
constexpr int kBandCount = static_cast<int>(sizeof(kDelayBands) / sizeof(kDelayBands[0]));
constexpr int kMinTicksPerBand = 8;
constexpr int kMaxTicksPerBand = 12;
constexpr double kDelayPull = 0.45;     // share of the distance to the target covered per step
constexpr double kDelayJitterMs = 2.5;
constexpr double kMinDelayMs = 1.0;
constexpr double kMaxDelayMs = 150.0;

constexpr double kDropChance = 0.012;   // per network step: about one drop every minute and a half
constexpr int kMinDropTicks = 4;
constexpr int kMaxDropTicks = 9;

constexpr int kMaxQuoteSources = 4;
constexpr int kInitialQuoteSources = 4;
constexpr int kUsualQuoteSources = 3;   // the walk leans towards this count
constexpr double kQuoteMoveChance = 0.45;
constexpr double kEvenChance = 0.5;
constexpr double kQuoteTowardUsualChance = 0.75;

constexpr double kTroubleChance = 0.06; // per login step while all are logged in
constexpr double kFailInsteadOfDropChance = 0.5;
constexpr double kRecoverChance = 0.6;  // per login step, for an account that is not logged in

constexpr int kMinStrategies = 1;
constexpr int kStartStrategies = 2;     // running right after start, so the counter has something to show
constexpr int kMaxStrategies = 6;
constexpr double kStrategyStartChance = 0.35;
constexpr double kStrategyEndChance = 0.25;
const char kStrategyIdPrefix[] = "STG-";
const char* const kStrategyNames[] = {"网格策略-IF2606", "趋势跟踪-RB2610", "日内回转-600901",
                                      "跨期套利-AU2608", "做市-601778",     "动量轮动-篮子"};

constexpr double kOrderServiceToggleChance = 0.15; // per step: the service is mostly up
constexpr int kMaxFileOrdersPerStep = 4;
const char kOrderDirectory[] = "/data/orders";

struct SimAccount {
    const char* key;
    const char* accountId;
    const char* broker;
};
const SimAccount kAccounts[] = {
    {"10001", "88020011", "模拟证券"},
    {"10002", "88020012", "模拟证券"},
    {"10003", "66130207", "模拟期货"},
};

const char* loginMessage(EBROKER_LOGIN_STATUS status)
{
    switch (status) {
    case BROKER_LOGIN_SUCCESS:
        return "登录成功";
    case BROKER_LOGIN_CONNECTING:
        return "正在登录";
    case BROKER_LOGIN_DISCONNECTED:
        return "与柜台的连接已断开";
    case BROKER_LOGIN_FAILED:
        return "登录失败：密码校验未通过";
    }
    return "";
}

bool chance(std::mt19937& rng, double probability)
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < probability;
}

bool rpcConnected()
{
    return getServiceClient()->rpcClient()->getConnection() != nullptr;
}
}

CBackendSimulator::CBackendSimulator(std::uint32_t seed, QObject* parent)
    : QObject(parent)
    , m_rng(seed)
    , m_networkTimer(new QTimer(this))
    , m_quoteTimer(new QTimer(this))
    , m_strategyTimer(new QTimer(this))
    , m_orderServiceTimer(new QTimer(this))
    , m_tradingDayTimer(new QTimer(this))
{
    // The worker draws from its own generator so that the two timelines do not disturb each other.
    std::seed_seq loginSeed{seed, 0x4c4f47u};
    m_loginRng.seed(loginSeed);

    for (const SimAccount& account : kAccounts)
        m_accounts.push_back(std::make_shared<CAccountInfo>(account.key, account.accountId, account.broker));
    m_loginStates.assign(m_accounts.size(), BROKER_LOGIN_CONNECTING);
    m_dataReady.assign(m_accounts.size(), false);
    m_trade = std::make_unique<CTradeActivitySimulator>(seed, m_accounts);
    m_flood = std::make_unique<COrderFlood>(seed, m_accounts);
    m_market = std::make_unique<CMarketInfoSimulator>(seed);

    for (int band = 0; band < kBandCount; ++band)
        m_bandOrder.push_back(band);
    m_bandCursor = m_bandOrder.size(); // the first target starts a fresh shuffled cycle

    connect(m_networkTimer, &QTimer::timeout, this, &CBackendSimulator::stepNetwork);
    connect(m_quoteTimer, &QTimer::timeout, this, &CBackendSimulator::stepQuoteSources);
    connect(m_strategyTimer, &QTimer::timeout, this, &CBackendSimulator::stepStrategies);
    connect(m_orderServiceTimer, &QTimer::timeout, this, &CBackendSimulator::stepOrderService);
    connect(m_tradingDayTimer, &QTimer::timeout, this, &CBackendSimulator::startTradingDay);
    applyIntervals();
}

CBackendSimulator::~CBackendSimulator()
{
    stop();
}

std::uint32_t CBackendSimulator::randomSeed()
{
    std::random_device device;
    return device();
}

void CBackendSimulator::start()
{
    if (m_running)
        return;
    m_running = true;

    getUserConfig()->setAccountList(m_accounts);
    getServiceClient()->rpcClient()->setConnected(true);
    m_dropTicksLeft = 0;
    pickNextDelayTarget();
    m_delayMs = m_delayTargetMs;
    getServiceClient()->rpcClient()->getConnection()->setDelay(m_delayMs / kMsPerSecond);
    m_quoteSources = kInitialQuoteSources;
    CQuoteClient::instance()->setQuoteConnectNum(m_quoteSources);
    updateQuoteTradeConnect();

    // The text first: whoever hears the status change and asks for the text gets the new one.
    COrderService::instance()->setStatusBarTip(orderServiceTip(true));
    COrderService::instance()->setRunning(true);
    while (runningStrategies().size() < static_cast<std::size_t>(kStartStrategies))
        stepStrategies();

    m_networkTimer->start();
    m_quoteTimer->start();
    m_strategyTimer->start();
    m_orderServiceTimer->start();
    m_tradingDayTimer->start();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopRequested = false;
        m_republishRequested = false;
    }
    m_loginWorker = std::thread([this] { runLoginWorker(); });
    m_trade->start();
    m_market->start();
    if (m_floodRate > 0)
        m_flood->start(m_floodRate);
}

void CBackendSimulator::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_networkTimer->stop();
    m_quoteTimer->stop();
    m_strategyTimer->stop();
    m_orderServiceTimer->stop();
    m_tradingDayTimer->stop();
    m_flood->stop();
    m_trade->stop();
    m_market->stop();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopRequested = true;
    }
    m_wake.notify_all();
    if (m_loginWorker.joinable())
        m_loginWorker.join();

    if (m_dropTicksLeft > 0) {
        m_dropTicksLeft = 0;
        getServiceClient()->rpcClient()->setConnected(true);
        updateQuoteTradeConnect();
    }
}

void CBackendSimulator::setSpeedFactor(double factor)
{
    if (std::isnan(factor))
        return; // a NaN would pass the clamp and reach the integer intervals below
    factor = std::clamp(factor, kMinSpeedFactor, kMaxSpeedFactor);
    if (factor == m_speedFactor.load())
        return;
    m_speedFactor.store(factor);
    m_trade->setSpeedFactor(factor);
    m_market->setSpeedFactor(factor);
    applyIntervals(); // the workers pick the factor up at their next wait
}

void CBackendSimulator::applyIntervals()
{
    const double factor = m_speedFactor.load();
    m_networkTimer->setInterval(static_cast<int>(kNetworkStepMs / factor));
    m_quoteTimer->setInterval(static_cast<int>(kQuoteStepMs / factor));
    m_strategyTimer->setInterval(static_cast<int>(kStrategyStepMs / factor));
    m_orderServiceTimer->setInterval(static_cast<int>(kOrderServiceStepMs / factor));
    m_tradingDayTimer->setInterval(static_cast<int>(kTradingDayMs / factor));
}

void CBackendSimulator::startTradingDay()
{
    ++m_tradingDays;
    TraderCenter::instance()->getDataCenter()->beginTradingDay();
    getUserConfig()->reloadAccounts();
}

void CBackendSimulator::setFloodRate(int updatesPerSecond)
{
    updatesPerSecond = std::clamp(updatesPerSecond, 0, kMaxFloodRate);
    if (updatesPerSecond == m_floodRate)
        return;
    m_floodRate = updatesPerSecond;
    if (m_running) {
        m_flood->stop();
        if (m_floodRate > 0)
            m_flood->start(m_floodRate);
    }
    emit sigFloodRateChanged(m_floodRate);
}

bool CBackendSimulator::isFlooding() const
{
    return m_flood->isRunning();
}

std::uint64_t CBackendSimulator::publishedOrderUpdates() const
{
    return m_trade->publishedOrders() + m_flood->publishedUpdates();
}

std::uint64_t CBackendSimulator::publishedFloodUpdates() const
{
    return m_flood->publishedUpdates();
}

std::uint64_t CBackendSimulator::publishedTaskUpdates() const
{
    return m_trade->publishedTasks();
}

std::vector<std::string> CBackendSimulator::runningStrategies()
{
    // The user may have stopped some through the status bar; the manager knows which still run.
    const QStringList running = CStrategyTradeManager::instance()->runningProcesses();
    std::vector<std::string> ids;
    for (auto it = m_strategyNames.begin(); it != m_strategyNames.end();) {
        if (running.contains(QString::fromStdString(it->first))) {
            ids.push_back(it->first);
            ++it;
        } else {
            it = m_strategyNames.erase(it);
        }
    }
    return ids;
}

void CBackendSimulator::stepStrategies()
{
    const std::vector<std::string> running = runningStrategies();
    const bool start = running.size() < static_cast<std::size_t>(kMinStrategies)
        || (running.size() < static_cast<std::size_t>(kMaxStrategies) && chance(m_rng, kStrategyStartChance));
    if (start) {
        const auto name = std::uniform_int_distribution<std::size_t>(0, std::size(kStrategyNames) - 1)(m_rng);
        const std::string requestId = kStrategyIdPrefix + std::to_string(m_nextStrategyId++);
        m_strategyNames[requestId] = kStrategyNames[name];
        CStrategyTradeManager::instance()->startProcess(requestId, kStrategyNames[name]);
    } else if (!running.empty() && chance(m_rng, kStrategyEndChance)) {
        const auto victim = std::uniform_int_distribution<std::size_t>(0, running.size() - 1)(m_rng);
        CStrategyTradeManager::instance()->finishProcess(running[victim]);
    }
}

void CBackendSimulator::stepOrderService()
{
    COrderService* service = COrderService::instance();
    if (service->hasRunning())
        m_fileOrdersRead += std::uniform_int_distribution<int>(0, kMaxFileOrdersPerStep)(m_rng);
    const bool running = chance(m_rng, kOrderServiceToggleChance) ? !service->hasRunning() : service->hasRunning();
    service->setStatusBarTip(orderServiceTip(running));
    service->setRunning(running);
}

QString CBackendSimulator::orderServiceTip(bool running) const
{
    QStringList lines;
    lines << (running ? QStringLiteral("文件单服务: 运行中") : QStringLiteral("文件单服务: 已停止"));
    lines << QStringLiteral("扫描目录: %1").arg(QLatin1String(kOrderDirectory));
    lines << QStringLiteral("今日读入: %1 笔").arg(m_fileOrdersRead);
    return lines.join(QLatin1Char('\n'));
}

void CBackendSimulator::republishLoginStatus()
{
    if (!m_running)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_republishRequested = true;
    }
    m_wake.notify_all();
}

void CBackendSimulator::pickNextDelayTarget()
{
    if (m_bandCursor >= m_bandOrder.size()) {
        std::shuffle(m_bandOrder.begin(), m_bandOrder.end(), m_rng);
        m_bandCursor = 0;
    }
    const DelayBand& band = kDelayBands[m_bandOrder[m_bandCursor++]];
    m_delayTargetMs = std::uniform_real_distribution<double>(band.lowMs, band.highMs)(m_rng);
    m_ticksForTarget = std::uniform_int_distribution<int>(kMinTicksPerBand, kMaxTicksPerBand)(m_rng);
    m_ticksOnTarget = 0;
}

void CBackendSimulator::stepNetwork()
{
    RPCClient* rpc = getServiceClient()->rpcClient();
    if (m_dropTicksLeft > 0) {
        if (--m_dropTicksLeft == 0)
            rpc->setConnected(true);
    } else if (chance(m_rng, kDropChance)) {
        m_dropTicksLeft = std::uniform_int_distribution<int>(kMinDropTicks, kMaxDropTicks)(m_rng);
        rpc->setConnected(false);
    }

    if (++m_ticksOnTarget >= m_ticksForTarget)
        pickNextDelayTarget();
    const double jitter = std::uniform_real_distribution<double>(-kDelayJitterMs, kDelayJitterMs)(m_rng);
    m_delayMs = std::clamp(m_delayMs + (m_delayTargetMs - m_delayMs) * kDelayPull + jitter, kMinDelayMs, kMaxDelayMs);

    // The host keeps the last round trip in seconds; a dropped connection has none to keep.
    if (NetConnection* connection = rpc->getConnection())
        connection->setDelay(m_delayMs / kMsPerSecond);
    updateQuoteTradeConnect();
    const bool connected = rpcConnected();
    emit sigNetworkStep(connected ? m_delayMs : 0.0, connected);
}

void CBackendSimulator::stepQuoteSources()
{
    if (chance(m_rng, kQuoteMoveChance)) {
        int direction = chance(m_rng, kEvenChance) ? 1 : -1;
        if (m_quoteSources != kUsualQuoteSources) {
            const int toward = m_quoteSources < kUsualQuoteSources ? 1 : -1;
            direction = chance(m_rng, kQuoteTowardUsualChance) ? toward : -toward;
        }
        m_quoteSources = std::clamp(m_quoteSources + direction, 0, kMaxQuoteSources);
    }
    CQuoteClient::instance()->setQuoteConnectNum(m_quoteSources);
    updateQuoteTradeConnect();
}

void CBackendSimulator::updateQuoteTradeConnect()
{
    CQuoteClient::instance()->setHasQuoteTradeConnect(m_quoteSources > 0 && rpcConnected());
}

bool CBackendSimulator::waitForNextLoginStep(int ms)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto deadline = std::chrono::steady_clock::now()
        + std::chrono::milliseconds(static_cast<long long>(ms / m_speedFactor.load()));
    while (!m_stopRequested) {
        if (m_republishRequested) {
            m_republishRequested = false;
            lock.unlock();
            reportAllLogins();
            lock.lock();
            continue;
        }
        if (m_wake.wait_until(lock, deadline) == std::cv_status::timeout)
            return !m_stopRequested;
    }
    return false;
}

void CBackendSimulator::runLoginWorker()
{
    reportAllLogins(); // everyone starts out connecting
    if (!waitForNextLoginStep(kFirstLoginMs))
        return;
    std::fill(m_loginStates.begin(), m_loginStates.end(), BROKER_LOGIN_SUCCESS);
    reportAllLogins();
    while (waitForNextLoginStep(kLoginStepMs))
        stepLogins();
}

void CBackendSimulator::stepLogins()
{
    const bool connected = rpcConnected();
    for (EBROKER_LOGIN_STATUS& state : m_loginStates) {
        if (!connected) {
            state = BROKER_LOGIN_DISCONNECTED;
        } else if (state == BROKER_LOGIN_CONNECTING) {
            state = BROKER_LOGIN_SUCCESS;
        } else if (state != BROKER_LOGIN_SUCCESS && chance(m_loginRng, kRecoverChance)) {
            state = BROKER_LOGIN_CONNECTING; // logs in again through the connecting state
        }
    }
    const bool allLoggedIn = std::all_of(m_loginStates.begin(), m_loginStates.end(),
                                         [](EBROKER_LOGIN_STATUS state) { return state == BROKER_LOGIN_SUCCESS; });
    if (connected && allLoggedIn && chance(m_loginRng, kTroubleChance)) {
        const auto victim = std::uniform_int_distribution<std::size_t>(0, m_loginStates.size() - 1)(m_loginRng);
        m_loginStates[victim] = chance(m_loginRng, kFailInsteadOfDropChance) ? BROKER_LOGIN_FAILED : BROKER_LOGIN_DISCONNECTED;
    }
    // Every step reports every account, as the real client's heartbeat does, so a newly built view
    // catches up within one step.
    reportAllLogins();
}

void CBackendSimulator::reportAllLogins()
{
    for (std::size_t i = 0; i < m_accounts.size(); ++i) {
        const EBROKER_LOGIN_STATUS status = m_loginStates[i];
        CTradeClient::instance()->reportLoginStatus(m_accounts[i], status, loginMessage(status));
        followLogin(i, isLoginStatusReady(status));
        emit sigLoginReported(QString::fromStdString(m_accounts[i]->accountId()), static_cast<int>(status));
    }
}

void CBackendSimulator::followLogin(std::size_t accountIndex, bool ready)
{
    if (ready == m_dataReady[accountIndex])
        return;
    m_dataReady[accountIndex] = ready;
    m_trade->setAccountLoggedIn(accountIndex, ready);
    m_flood->setAccountLoggedIn(accountIndex, ready);
    if (!ready)
        return;
    // A login gives the account its store; views that count its data subscribe when they hear of it.
    TraderCenter::instance()->getDataCenter()->addAccount(m_accounts[accountIndex]->getKey());
    // Only login reports come from the trade client's own thread; account data is announced on the
    // GUI thread. The account goes over under our lock and the call by name carries nothing of ours,
    // so ThreadSanitizer sees the hand-over ordered.
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_readyAccounts.push_back(accountIndex);
    }
    QMetaObject::invokeMethod(this, "slotAnnounceReadyAccounts", Qt::QueuedConnection);
}

void CBackendSimulator::slotAnnounceReadyAccounts()
{
    std::vector<std::size_t> ready;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ready.swap(m_readyAccounts);
    }
    for (std::size_t accountIndex : ready) {
        const CAccountInfo& account = *m_accounts[accountIndex];
        if (isLoginStatusReady(CTradeClient::instance()->getLoginStatus(account.getKey()))) // not cut off meanwhile
            CTradeClient::instance()->reportAccountDataInited(account);
    }
}
