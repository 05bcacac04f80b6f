// The latency chart's reload for a whole day of samples (one every 5 s: 17,280 time labels and
// delays): building the chart JSON the way the bar and the chart dialog do it, beside QJsonDocument
// writing the same two lists, in two states of the allocator: warm (memory freed by the previous
// round is still at hand) and fresh (malloc_trim(0) before each round gives it back to the system,
// as after a quiet while in a long-running terminal).

#include <statusbar/netspeeddialog.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTime>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

namespace {
constexpr int kSamples = 17280;      // a day at one sample every 5 s
constexpr int kSampleSeconds = 5;
constexpr unsigned kSeed = 20240601u;
constexpr double kMinDelayMs = 1.0;  // the simulated back end's range
constexpr double kMaxDelayMs = 150.0;

// The bar's histories: time labels carrying their own quotes, and delays in ms.
struct History {
    QStringList quotedLabels;
    QStringList labels; ///< the same times without quotes, for the baseline
    QList<double> delays;
    double maxDelay = 0.0;
};

const History& dayOfSamples()
{
    static const History history = [] {
        History h;
        std::mt19937 random(kSeed);
        std::uniform_real_distribution<double> delay(kMinDelayMs, kMaxDelayMs);
        for (int i = 0; i < kSamples; ++i) {
            const QString time = QTime(0, 0).addSecs(i * kSampleSeconds).toString(QStringLiteral("HH:mm:ss"));
            h.labels << time;
            h.quotedLabels << QLatin1Char('"') + time + QLatin1Char('"');
            h.delays << delay(random);
            h.maxDelay = std::max(h.maxDelay, h.delays.last());
        }
        return h;
    }();
    return history;
}

// Gives the allocator's free memory back to the system before a round, off the clock.
void freshAllocator(benchmark::State& state, bool fresh)
{
    if (!fresh)
        return;
    state.PauseTiming();
    malloc_trim(0);
    state.ResumeTiming();
}

// What the bar's reload does: join the labels, then the dialog builds the JSON from them.
void BM_ChartReload(benchmark::State& state)
{
    const History& history = dayOfSamples();
    for (auto _ : state) {
        freshAllocator(state, state.range(0) != 0);
        const QString labels = history.quotedLabels.join(QLatin1Char(','));
        QString json = CNetSpeedDialog::chartJson(labels, history.maxDelay, history.delays);
        benchmark::DoNotOptimize(json.data_ptr());
    }
}
BENCHMARK(BM_ChartReload)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The baseline: the same two lists written by QJsonDocument.
void BM_QJsonDocumentBaseline(benchmark::State& state)
{
    const History& history = dayOfSamples();
    for (auto _ : state) {
        freshAllocator(state, state.range(0) != 0);
        QJsonArray labels;
        for (const QString& label : history.labels)
            labels.append(label);
        QJsonArray delays;
        for (double delay : history.delays)
            delays.append(delay);
        QJsonObject chart;
        chart.insert(QStringLiteral("xAxis"), labels);
        chart.insert(QStringLiteral("data"), delays);
        QByteArray json = QJsonDocument(chart).toJson(QJsonDocument::Compact);
        benchmark::DoNotOptimize(json.data_ptr());
    }
}
BENCHMARK(BM_QJsonDocumentBaseline)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Prints, after the table, each state's reload time as a share of the baseline's, in CPU time: wall
// time on a shared machine counts the other programs too.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean")
                m_times[run.run_name.str()] = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* state : {"fresh:0", "fresh:1"}) {
            const auto reload = m_times.find(std::string("BM_ChartReload/") + state);
            const auto baseline = m_times.find(std::string("BM_QJsonDocumentBaseline/") + state);
            if (reload != m_times.end() && baseline != m_times.end() && baseline->second > 0.0)
                std::printf("chart reload / QJsonDocument, %s allocator: %.2f\n",
                            std::string(state) == "fresh:0" ? "warm" : "fresh", reload->second / baseline->second);
        }
    }

private:
    std::map<std::string, double> m_times;
};
}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
