// What one change of the window's width costs the status bar: the bar is resized and lays its row
// out (the fitting pass, then the row). The baseline is Qt's own QStatusBar holding as many QLabels
// as the bar has widgets in its row, with the same texts, taken through the same widths in the
// same run. Nothing is painted in either case.

#include <statusbar/currenttimewidget.h>
#include <statusbar/noticewidget.h>
#include <statusbar/quotewidget.h>
#include <statusbar/statusbar.h>
#include <statusbar/tradewidget.h>

#include <terminalhost/appconfig.h>
#include <terminalhost/hostreset.h>
#include <terminalhost/magnifierwidget.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/strategytrademanager.h>
#include <terminalhost/timeservice.h>
#include <terminalhost/userconfig.h>

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QStatusBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
constexpr int kBarHeight = 24;
constexpr int kWidest = 1800;  // px; above every layout's wanted width
constexpr int kWidthStep = 37; // px; uneven, so that every pass lands on a new width

// The widths a user dragging the window's edge goes through, narrower and wider again.
std::vector<int> dragWidths(int narrowest)
{
    std::vector<int> widths;
    for (int width = kWidest; width >= narrowest; width -= kWidthStep)
        widths.push_back(width);
    for (int width = narrowest + kWidthStep / 2; width <= kWidest; width += kWidthStep)
        widths.push_back(width);
    return widths;
}

// A terminal with every item the bar builds today for that client type.
void configure(int clientType)
{
    resetHost();
    CAppConfig::setClientType(clientType);
    getUserConfig()->setHasOrderService(true);
}

// What the widget shows as text, for the label that stands in for it.
QString shownText(QWidget* widget)
{
    if (auto* clock = qobject_cast<CCurrentTimeWidget*>(widget))
        return clock->dateText() + clock->timeText();
    if (qobject_cast<CTradeWidget*>(widget))
        return QStringLiteral("交易");
    if (qobject_cast<CQuoteWidget*>(widget))
        return QStringLiteral("行情");
    QString text;
    for (CSimpleTextWidget* part : widget->findChildren<CSimpleTextWidget*>()) {
        if (!part->isHidden())
            text += part->getText();
    }
    return text;
}

// A shown window whose only content is a status bar along its bottom, as the main window has it.
struct BarWindow {
    QWidget window;
    CStatusBar* bar = nullptr;

    explicit BarWindow(int clientType)
    {
        configure(clientType);
        bar = new CStatusBar(&window);
        getTimeService()->publishTime(static_cast<int>(QDateTime(QDate(2024, 1, 2), QTime(9, 5, 3)).toSecsSinceEpoch()));
        bar->setRunningOrders(12);
        bar->setRunningTasks(3);
        bar->setNetStatus(2);
        CStrategyTradeManager::instance()->startProcess("bench-1", "网格策略");
        window.resize(kWidest, kBarHeight);
        bar->setGeometry(0, 0, kWidest, kBarHeight);
        window.show();
        QCoreApplication::processEvents();
    }

    // The row's widgets left to right.
    QList<QWidget*> row() const
    {
        QList<QWidget*> widgets = bar->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        widgets.erase(std::remove_if(widgets.begin(), widgets.end(), [](QWidget* w) { return w->isHidden() || w->isWindow(); }),
                      widgets.end());
        std::stable_sort(widgets.begin(), widgets.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
        return widgets;
    }

    QStringList rowTexts() const
    {
        QStringList texts;
        for (QWidget* widget : row())
            texts << shownText(widget);
        return texts;
    }

    // What follows the row's stretch: the separator before the magnifier, and everything after it.
    int rightHandStart() const { return row().indexOf(bar->findChild<CMagnifierWidget*>()) - 1; }
    // The announcement ticker, which takes what the row leaves (-1 when the bar has none).
    int tickerIndex() const { return row().indexOf(bar->findChild<CNoticeWidget*>()); }
};

// Qt's status bar with one label per widget of the bar's row: what comes before the bar's stretch
// on the left, what follows it at the right-hand end, as the bar places them; the label standing in
// for the announcement ticker stretches, as the ticker takes what the row leaves.
struct PlainWindow {
    QWidget window;
    QStatusBar* bar = nullptr;

    PlainWindow(const QStringList& texts, int leftCount, int stretchIndex)
    {
        bar = new QStatusBar(&window);
        bar->setSizeGripEnabled(false);
        for (int index = 0; index < texts.size(); ++index) {
            auto* label = new QLabel(texts.at(index));
            if (index == stretchIndex)
                bar->addWidget(label, 1);
            else if (index < leftCount)
                bar->addWidget(label);
            else
                bar->addPermanentWidget(label);
        }
        window.resize(kWidest, kBarHeight);
        bar->setGeometry(0, 0, kWidest, kBarHeight);
        window.show();
        QCoreApplication::processEvents();
    }
};

template <class Resize>
void runThroughWidths(benchmark::State& state, Resize resize)
{
    const std::vector<int> widths = dragWidths(static_cast<int>(state.range(1)));
    std::size_t next = 0;
    for (auto _ : state) {
        resize(widths[next]);
        next = (next + 1) % widths.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_StatusBarWidthChange(benchmark::State& state)
{
    BarWindow shown(static_cast<int>(state.range(0)));
    state.counters["widgets"] = shown.rowTexts().size();
    runThroughWidths(state, [&shown](int width) { shown.bar->resize(width, kBarHeight); });
}

void BM_QStatusBarWidthChange(benchmark::State& state)
{
    QStringList texts;
    int leftCount = 0;
    int stretchIndex = -1;
    {
        const BarWindow model(static_cast<int>(state.range(0)));
        texts = model.rowTexts();
        leftCount = model.rightHandStart();
        stretchIndex = model.tickerIndex();
    }
    PlainWindow shown(texts, leftCount, stretchIndex);
    state.counters["widgets"] = texts.size();
    runThroughWidths(state, [&shown](int width) { shown.bar->resize(width, kBarHeight); });
}

// Arguments: the client type (0 the full trading terminal, 1 the quote client) and the narrowest
// width of the drag. Down to 1100 px both rows fit whole, the compact forms taking their turns; down
// to 480 px they no longer do, and the bar moves its right-hand end along with the window's edge to
// keep it on screen, where Qt's status bar leaves its permanent widgets past the edge.
void dragRanges(benchmark::internal::Benchmark* benchmark)
{
    for (int clientType : {0, 1}) {
        for (int narrowest : {1100, 480})
            benchmark->Args({clientType, narrowest});
    }
}
BENCHMARK(BM_StatusBarWidthChange)->Apply(dragRanges)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QStatusBarWidthChange)->Apply(dragRanges)->Unit(benchmark::kMicrosecond);
}

int main(int argc, char** argv)
{
    // The bars are widgets and need an application, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
