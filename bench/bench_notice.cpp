// How the announcement ticker scales with the number of announcements it stores: merging a batch
// of 50 (a full batch for one exchange, on the feed thread) and the 3-second rotation step (on the
// GUI thread), with 100, a thousand and ten thousand stored, beside the plain way of doing it (one
// std::vector, duplicates found by a scan, sorted again after each batch, copied whole on each step).

#include <statusbar/noticewidget.h>

#include <terminalhost/hostutils.h>
#include <terminalhost/quoterdata.h>

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {
constexpr int kBatchSize = 50;
constexpr int kBatchRing = 64;          // batches replayed by the merge benchmarks
constexpr int kImportantEvery = 10;     // one stored announcement in ten is important
constexpr long long kTradeDate = 20260105;
constexpr long long kFirstBatchKey = 1LL << 40; // above every stored key

std::shared_ptr<Notice> makeNotice(long long key, int level)
{
    const std::string number = std::to_string(key);
    return std::make_shared<Notice>(key, kTradeDate, level, "关于第" + number + "号事项的公告",
                                    "本公司及董事会全体成员保证信息披露的内容真实、准确、完整。事项编号：" + number);
}

/// The stored announcements: n for "SZ", one in ten important.
std::vector<QuoterBasePtr> stored(int n)
{
    std::vector<QuoterBasePtr> records;
    for (int i = 0; i < n; ++i)
        records.push_back(makeNotice(i, i % kImportantEvery == 0 ? NoticeLevel_Important : NoticeLevel_Ordinary));
    return records;
}

/// Full batches of 50 new announcements for "SH", built before the clock starts.
std::vector<std::vector<QuoterBasePtr>> batches()
{
    std::vector<std::vector<QuoterBasePtr>> ring(kBatchRing);
    long long key = kFirstBatchKey;
    for (auto& batch : ring) {
        for (int i = 0; i < kBatchSize; ++i, ++key)
            batch.push_back(makeNotice(key, i % kImportantEvery == 0 ? NoticeLevel_Urgent : NoticeLevel_Ordinary));
    }
    return ring;
}

void BM_MergeBatch(benchmark::State& state)
{
    CNoticeWidget item(nullptr);
    item.onNoticeData(0, QuoterStatus_Full, stored(static_cast<int>(state.range(0))), QStringLiteral("SZ"));
    const auto ring = batches();
    const QString shanghai = QStringLiteral("SH");
    std::size_t next = 0;
    for (auto _ : state) {
        item.onNoticeData(0, QuoterStatus_Full, ring[next], shanghai);
        next = (next + 1) % ring.size();
    }
    state.SetItemsProcessed(state.iterations() * kBatchSize);
}
BENCHMARK(BM_MergeBatch)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

/// The plain store: every announcement of both levels and exchanges in one vector under a mutex.
struct PlainStore {
    struct Entry {
        std::string market;
        std::shared_ptr<Notice> notice;
    };
    std::mutex mutex;
    std::vector<Entry> entries;
    std::vector<std::shared_ptr<Notice>> important;
    std::vector<std::shared_ptr<Notice>> ordinary;
    int position = -1;
    QString title;
    QString content;

    void merge(int status, const std::vector<QuoterBasePtr>& records, const std::string& market)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (status == QuoterStatus_Full)
            entries.erase(std::remove_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.market == market; }),
                          entries.end());
        for (const QuoterBasePtr& record : records) {
            auto notice = std::dynamic_pointer_cast<Notice>(record);
            if (!notice || notice->title().empty() || notice->content().empty())
                continue;
            const bool duplicate = std::any_of(entries.begin(), entries.end(), [&](const Entry& e) {
                return e.market == market && e.notice->key() == notice->key() && e.notice->title() == notice->title()
                    && (e.notice->level() != 0) == (notice->level() != 0);
            });
            if (!duplicate)
                entries.push_back({market, notice});
        }
        std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.notice->key() > b.notice->key(); });
        important.clear();
        ordinary.clear();
        for (const Entry& entry : entries)
            (entry.notice->level() != 0 ? important : ordinary).push_back(entry.notice);
        position = -1;
    }

    void step()
    {
        std::vector<std::shared_ptr<Notice>> copy;
        {
            std::lock_guard<std::mutex> lock(mutex);
            copy = ordinary; // copied whole on every step
        }
        if (copy.empty())
            return;
        position = (position + 1) % static_cast<int>(copy.size());
        title = sToQs(copy[static_cast<std::size_t>(position)]->title());
        content = sToQs(copy[static_cast<std::size_t>(position)]->content());
    }
};

void BM_MergeBatchBaselineVector(benchmark::State& state)
{
    PlainStore store;
    store.merge(QuoterStatus_Full, stored(static_cast<int>(state.range(0))), "SZ");
    const auto ring = batches();
    std::size_t next = 0;
    for (auto _ : state) {
        store.merge(QuoterStatus_Full, ring[next], "SH");
        next = (next + 1) % ring.size();
    }
    state.SetItemsProcessed(state.iterations() * kBatchSize);
}
BENCHMARK(BM_MergeBatchBaselineVector)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_RotationStep(benchmark::State& state)
{
    CNoticeWidget item(nullptr);
    item.resize(item.getMaxWidth(), 24);
    item.onNoticeData(0, QuoterStatus_Full, stored(static_cast<int>(state.range(0))), QStringLiteral("SZ"));
    for (auto _ : state)
        item.slotMoveTextTimeOut();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RotationStep)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kNanosecond);

void BM_RotationStepBaselineVector(benchmark::State& state)
{
    PlainStore store;
    store.merge(QuoterStatus_Full, stored(static_cast<int>(state.range(0))), "SZ");
    for (auto _ : state)
        store.step();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RotationStepBaselineVector)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kNanosecond);
}

int main(int argc, char** argv)
{
    // The ticker is a widget and needs an application, but no screen.
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
