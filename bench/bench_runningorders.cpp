// How the running orders item scales with the number of orders it tracks: the order callback's
// throughput on one thread, and the 500 ms tick at a thousand, a hundred thousand and a million
// orders, beside the plain way of doing it (a std::map whose sum is recomputed on every tick).

#include <statusbar/runningorderswidget.h>

#include <terminalhost/tradedata.h>

#include <QApplication>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <mutex>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr int kRecordRing = 1 << 16; // records replayed by the callback benchmark
constexpr unsigned kSeed = 20240601u;

std::string orderKey(int order)
{
    return "ORD" + std::to_string(order);
}

IDataPtr orderRecord(int order, EOrderStatus status)
{
    return std::make_shared<COrderDetail>(orderKey(order), "BENCH", "600000", status);
}

// Every third order still running, the rest filled, as in a busy trading day.
EOrderStatus initialStatus(int order)
{
    return order % 3 == 0 ? OrderStatus_Queued : OrderStatus_Filled;
}

void track(CRunningOrdersWidget& item, int orders)
{
    for (int order = 0; order < orders; ++order)
        item.onOrderDetail(orderRecord(order, initialStatus(order)));
}

// Updates of random orders among the tracked ones, built before the clock starts.
std::vector<IDataPtr> randomUpdates(int orders)
{
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<int> order(0, orders - 1);
    std::uniform_int_distribution<int> status(OrderStatus_Submitting, OrderStatus_Rejected);
    std::vector<IDataPtr> updates;
    updates.reserve(kRecordRing);
    for (int i = 0; i < kRecordRing; ++i)
        updates.push_back(orderRecord(order(random), static_cast<EOrderStatus>(status(random))));
    return updates;
}

void BM_OrderCallback(benchmark::State& state)
{
    const int orders = static_cast<int>(state.range(0));
    CRunningOrdersWidget item(nullptr);
    track(item, orders);
    const std::vector<IDataPtr> updates = randomUpdates(orders);
    std::size_t next = 0;
    for (auto _ : state) {
        item.onOrderDetail(updates[next]);
        next = (next + 1) & (kRecordRing - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OrderCallback)->Arg(1000)->Arg(1000000)->Unit(benchmark::kNanosecond);

// The plain store: a std::map of marks under a mutex.
struct PlainStore {
    std::mutex mutex;
    std::map<std::string, int> marks;

    void update(const IDataPtr& data)
    {
        const auto* order = dynamic_cast<const COrderDetail*>(data.get());
        if (!order)
            return;
        const int mark = COrderDetailHelper::completed(*order) ? 0 : 1;
        std::lock_guard<std::mutex> lock(mutex);
        marks[order->getKey()] = mark;
    }

    int sum()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return std::accumulate(marks.begin(), marks.end(), 0, [](int total, const auto& entry) { return total + entry.second; });
    }
};

void BM_OrderCallbackBaselineMap(benchmark::State& state)
{
    const int orders = static_cast<int>(state.range(0));
    PlainStore store;
    for (int order = 0; order < orders; ++order)
        store.update(orderRecord(order, initialStatus(order)));
    const std::vector<IDataPtr> updates = randomUpdates(orders);
    std::size_t next = 0;
    for (auto _ : state) {
        store.update(updates[next]);
        next = (next + 1) & (kRecordRing - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OrderCallbackBaselineMap)->Arg(1000)->Arg(1000000)->Unit(benchmark::kNanosecond);

// One order changes state between ticks, so that every tick draws a new number.
void BM_Tick(benchmark::State& state)
{
    const int orders = static_cast<int>(state.range(0));
    CRunningOrdersWidget item(nullptr);
    item.resize(item.getMaxWidth(), 24);
    track(item, orders);
    const IDataPtr flips[] = {orderRecord(1, OrderStatus_Queued), orderRecord(1, OrderStatus_Filled)};
    int flip = 0;
    for (auto _ : state) {
        item.onOrderDetail(flips[flip ^= 1]);
        item.slotTimeout();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Tick)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The same tick when the sum is recomputed from a std::map each time; it draws with the same item.
void BM_TickBaselineMapSum(benchmark::State& state)
{
    const int orders = static_cast<int>(state.range(0));
    CRunningOrdersWidget item(nullptr);
    item.resize(item.getMaxWidth(), 24);
    PlainStore store;
    for (int order = 0; order < orders; ++order)
        store.update(orderRecord(order, initialStatus(order)));
    const IDataPtr flips[] = {orderRecord(1, OrderStatus_Queued), orderRecord(1, OrderStatus_Filled)};
    int flip = 0;
    for (auto _ : state) {
        store.update(flips[flip ^= 1]);
        item.updateCount(store.sum());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TickBaselineMapSum)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
}

int main(int argc, char** argv)
{
    // The item is a widget and needs an application, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
