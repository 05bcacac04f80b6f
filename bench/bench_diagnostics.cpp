// The object count monitor and the high-performance table behind it, each beside a plain
// QTableWidget showing the same rows in the same run:
// - a refresh of the object count page with 1,000 types (read the counts, rebuild the rows, draw);
// - 100,000 rows in the high-performance table: a model reset, and a change of the name filter
//   (beside the QTableWidget hiding rows, and refilled with the matching rows);
// - the counting base every data record carries, beside the same record without it.
// Every round ends with the table's rows drawn once, as the user sees them.

#include <statusbar/objectnummonitordialog.h>

#include <terminalhost/basehpftablemodel.h>
#include <terminalhost/countedobject.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/standardhpftable.h>
#include <terminalhost/typemanager.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int kPageTypes = 1000;
constexpr int kTableRows = 100000;
constexpr int kWidth = 900;
constexpr int kHeight = 450;
const char* const kFilters[] = {"type01", ""}; // a tenth of the rows (in any case), then all of them again

std::string typeName(int i)
{
    char name[32];
    std::snprintf(name, sizeof(name), "BenchType%06d", i);
    return name;
}

/// Registers the page's types once: a type's counts as a long-running terminal might show them.
void registerPageTypes()
{
    static const bool registered = [] {
        for (int i = 0; i < kPageTypes; ++i)
            TypeManager::instance()->counter(typeName(i)).setCounts(1000 + i, i);
        return true;
    }();
    (void)registered;
}

void draw(QTableView* view)
{
    view->viewport()->repaint();
}

/// The baseline: a QTableWidget given the rows item by item.
void fillTableWidget(QTableWidget* table, const std::vector<std::pair<std::string, std::pair<int, int>>>& rows)
{
    table->setRowCount(0);
    table->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const auto& entry = rows[static_cast<std::size_t>(row)];
        table->setItem(row, 0, new QTableWidgetItem(sToQs(entry.first)));
        table->setItem(row, 1, new QTableWidgetItem(QString::number(entry.second.first)));
        table->setItem(row, 2, new QTableWidgetItem(QString::number(entry.second.second)));
    }
}

QTableWidget* makeTableWidget()
{
    auto* table = new QTableWidget;
    table->setColumnCount(3);
    table->setHorizontalHeaderLabels({QStringLiteral("对象名称"), QStringLiteral("创建数量"), QStringLiteral("存活数量")});
    table->verticalHeader()->hide();
    table->resize(kWidth, kHeight);
    table->show();
    return table;
}

std::vector<std::pair<std::string, std::pair<int, int>>> tableRows()
{
    std::vector<std::pair<std::string, std::pair<int, int>>> rows;
    rows.reserve(kTableRows);
    for (int i = 0; i < kTableRows; ++i)
        rows.push_back({typeName(i), {1000 + i, i}});
    return rows;
}

/// A row of the high-performance table, as the object count page's rows are.
class BenchRow : public IBaseHpfTableData
{
public:
    BenchRow(std::string name, int created, int alive)
        : m_name(std::move(name))
        , m_created(created)
        , m_alive(alive)
    {
    }
    QString getText(int column) const override
    {
        return column == 0 ? sToQs(m_name) : QString::number(column == 1 ? m_created : m_alive);
    }
    std::string getString(int column) const override { return column == 0 ? m_name : std::string(); }
    int getInt(int column) const override { return column == 1 ? m_created : column == 2 ? m_alive : 0; }
    double getDouble(int) const override { return 0.0; }
    QString getTextColorKey(int) const override { return QStringLiteral("clr_default"); }
    std::string getKey() const override { return m_name; }

private:
    std::string m_name;
    int m_created;
    int m_alive;
};

class BenchModel : public IBaseHpfTableModel
{
public:
    BenchModel()
        : IBaseHpfTableModel(true)
    {
    }
    int getColumnCount() const override { return 3; }
    QString getHeaderText(int column) const override
    {
        return column == 0 ? QStringLiteral("对象名称") : column == 1 ? QStringLiteral("创建数量") : QStringLiteral("存活数量");
    }
    int getColumnKind(int column) const override { return column == 0 ? HpfColumn_Key : HpfColumn_Int; }
    QString getStatText(int column) const override
    {
        return column == 0 ? QString() : QString::number(getStatColumnInt(column));
    }
    QString getRowBackgroundKey(int row) const override
    {
        return (row & 1) ? QStringLiteral("clr_table_background2") : QStringLiteral("clr_table_background");
    }
    bool isCellClickable(const IBaseHpfTableData&, int) const override { return false; }
    int getRowHeight() const override { return 0; }
};

struct HpfTable {
    std::unique_ptr<CStandardHpfTable> table{new CStandardHpfTable(CStandardHpfTable::Style_Monitor, nullptr, CStandardHpfTable::Flag_All)};
    BenchModel* model = new BenchModel;
    HpfTable()
    {
        table->setDataModel(model);
        table->setColumnFilterable(0, true);
        table->setColumnStatEnable(1, true);
        table->setColumnStatEnable(2, true);
        for (const auto& row : tableRows())
            model->addData(std::make_shared<BenchRow>(row.first, row.second.first, row.second.second));
        table->resize(kWidth, kHeight);
        table->show();
        table->updateTable();
    }
};

void BM_ObjectCountPageRefresh(benchmark::State& state)
{
    registerPageTypes();
    CObjectNumMonitorDialog page(nullptr);
    page.resize(kWidth, kHeight);
    page.show();
    auto* view = page.findChild<CStandardHpfTable*>()->view();
    for (auto _ : state) {
        page.refresh();
        draw(view);
    }
    state.counters["rows"] = page.findChild<CStandardHpfTable*>()->rowCount();
}
BENCHMARK(BM_ObjectCountPageRefresh)->Unit(benchmark::kMillisecond);

void BM_ObjectCountTableWidgetRefresh(benchmark::State& state)
{
    registerPageTypes();
    std::unique_ptr<QTableWidget> table(makeTableWidget());
    for (auto _ : state) {
        const TypeManager::Statistics statistics = TypeManager::instance()->getObjectStatisticks();
        fillTableWidget(table.get(), {statistics.begin(), statistics.end()});
        draw(table.get());
    }
    state.counters["rows"] = table->rowCount();
}
BENCHMARK(BM_ObjectCountTableWidgetRefresh)->Unit(benchmark::kMillisecond);

void BM_HpfTableModelReset(benchmark::State& state)
{
    HpfTable hpf;
    for (auto _ : state) {
        hpf.table->updateTable();
        draw(hpf.table->view());
    }
    state.counters["rows"] = hpf.table->rowCount();
}
BENCHMARK(BM_HpfTableModelReset)->Unit(benchmark::kMillisecond);

void BM_TableWidgetRefill(benchmark::State& state)
{
    const auto rows = tableRows();
    std::unique_ptr<QTableWidget> table(makeTableWidget());
    for (auto _ : state) {
        fillTableWidget(table.get(), rows);
        draw(table.get());
    }
    state.counters["rows"] = table->rowCount();
}
BENCHMARK(BM_TableWidgetRefill)->Unit(benchmark::kMillisecond);

void BM_HpfTableFilterChange(benchmark::State& state)
{
    HpfTable hpf;
    std::size_t round = 0;
    for (auto _ : state) {
        hpf.table->setColumnFilter(0, QLatin1String(kFilters[round++ % 2]));
        draw(hpf.table->view());
    }
}
BENCHMARK(BM_HpfTableFilterChange)->Unit(benchmark::kMillisecond);

void BM_TableWidgetFilterChange(benchmark::State& state)
{
    std::unique_ptr<QTableWidget> table(makeTableWidget());
    fillTableWidget(table.get(), tableRows());
    std::size_t round = 0;
    for (auto _ : state) {
        const QString filter = QLatin1String(kFilters[round++ % 2]);
        for (int row = 0; row < table->rowCount(); ++row)
            table->setRowHidden(row, !table->item(row, 0)->text().contains(filter, Qt::CaseInsensitive));
        draw(table.get());
    }
}
BENCHMARK(BM_TableWidgetFilterChange)->Unit(benchmark::kMillisecond);

// The same filter change done the other way a QTableWidget allows: refilled with the matching rows.
void BM_TableWidgetRefillFiltered(benchmark::State& state)
{
    const auto all = tableRows();
    std::unique_ptr<QTableWidget> table(makeTableWidget());
    std::size_t round = 0;
    for (auto _ : state) {
        const QString filter = QLatin1String(kFilters[round++ % 2]);
        std::vector<std::pair<std::string, std::pair<int, int>>> rows;
        for (const auto& row : all) {
            if (sToQs(row.first).contains(filter, Qt::CaseInsensitive))
                rows.push_back(row);
        }
        fillTableWidget(table.get(), rows);
        draw(table.get());
    }
}
BENCHMARK(BM_TableWidgetRefillFiltered)->Unit(benchmark::kMillisecond);

/// An order record's fields, with and without the counting base.
struct PlainRecord {
    PlainRecord(std::string id, std::string account, std::string code)
        : id(std::move(id))
        , account(std::move(account))
        , code(std::move(code))
    {
    }
    virtual ~PlainRecord() = default;
    std::string id;
    std::string account;
    std::string code;
    int status = 0;
};
struct CountedRecord : PlainRecord, private TCountedObject<CountedRecord> {
    using PlainRecord::PlainRecord;
};

template <typename Record>
void createAndDrop(benchmark::State& state)
{
    for (auto _ : state) {
        auto record = std::make_shared<Record>("O12345", "acc-1", "SH600901");
        benchmark::DoNotOptimize(record);
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_RecordWithCountingBase(benchmark::State& state)
{
    createAndDrop<CountedRecord>(state);
}
BENCHMARK(BM_RecordWithCountingBase)->Threads(1)->Threads(2);
void BM_RecordWithout(benchmark::State& state)
{
    createAndDrop<PlainRecord>(state);
}
BENCHMARK(BM_RecordWithout)->Threads(1)->Threads(2);
}

int main(int argc, char** argv)
{
    // The tables are widgets and need an application, but no screen.
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
