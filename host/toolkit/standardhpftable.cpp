#include "standardhpftable.h"

#include <terminalhost/hostutils.h>
#include <terminalhost/uiresource.h>

#include <QAbstractTableModel>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace {
const char kObjectName[] = "standard_hpf_table";
const char kFontKey[] = "fnt_default_normal";
const char kStatisticsFontKey[] = "fnt_default_normal_heavy_fix";
const char kRowHeightKey[] = "tc_siz_table_row_height";
constexpr int kCellPadding = 8;          // px left and right of a cell's text, as the style sheet pads it
constexpr int kSortIndicatorRoom = 16;   // px a header keeps for its sort arrow
constexpr int kMeasuredRows = 200;       // rows adjustColumnWidth() reads: enough to see the typical widths
constexpr int kFilterFieldWidth = 220;   // px
constexpr int kFilterBarMargin = 4;      // px around the filter fields

/// A text's width in half-width characters: a CJK character takes two.
int roughWidth(const QString& text)
{
    int room = 0;
    for (const QChar c : text)
        room += c.unicode() < 0x1100 ? 1 : 2;
    return room;
}

bool isNumberKind(int kind)
{
    return kind == HpfColumn_Int || kind == HpfColumn_Double;
}

Qt::Alignment alignmentOf(int kind)
{
    return (isNumberKind(kind) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// One column's filter. A key column is matched on its bytes, ASCII letters in any case (other
/// scripts' letters as written), which spares a text conversion per row; other columns on their
/// texts, in any case.
class ColumnFilter
{
public:
    ColumnFilter(int column, bool onBytes, const QString& filter)
        : m_column(column)
        , m_onBytes(onBytes)
        , m_text(filter)
        , m_bytes(qsToS(filter))
    {
        std::transform(m_bytes.begin(), m_bytes.end(), m_bytes.begin(), asciiLower);
    }
    bool matches(const IBaseHpfTableData& row) const
    {
        if (!m_onBytes)
            return row.getText(m_column).contains(m_text, Qt::CaseInsensitive);
        const std::string value = row.getString(m_column);
        return std::search(value.begin(), value.end(), m_bytes.begin(), m_bytes.end(),
                           [](char a, char b) { return asciiLower(a) == b; })
            != value.end();
    }

private:
    int m_column;
    bool m_onBytes;
    QString m_text;
    std::string m_bytes; ///< UTF-8, ASCII letters in lower case
};

/// Orders rows by one column's values, taken once per row (decorate, sort, undecorate); stable, so
/// equal rows keep the model's order either way round.
template <typename Value, typename Read>
void sortRowsBy(std::vector<IBaseHpfTableDataPtr>& rows, Qt::SortOrder order, Read read)
{
    std::vector<std::pair<Value, std::size_t>> keyed;
    keyed.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        keyed.emplace_back(read(*rows[i]), i);
    if (order == Qt::AscendingOrder)
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    else
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return b.first < a.first; });
    std::vector<IBaseHpfTableDataPtr> sorted;
    sorted.reserve(rows.size());
    for (const auto& entry : keyed)
        sorted.push_back(std::move(rows[entry.second]));
    rows.swap(sorted);
}
}

/// The rows shown, in display order, as Qt's item views read them. Texts and colours are asked of
/// a row only when the view paints its cells.
class CHpfItemModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const IBaseHpfTableModel* model, std::vector<IBaseHpfTableDataPtr> rows)
    {
        beginResetModel();
        m_model = model;
        m_kinds.clear();
        const int columns = model ? std::max(0, model->getColumnCount()) : 0;
        for (int column = 0; column < columns; ++column)
            m_kinds.push_back(model->getColumnKind(column));
        m_rows = std::move(rows);
        endResetModel();
    }
    const std::vector<IBaseHpfTableDataPtr>& rows() const { return m_rows; }
    int kind(int column) const { return column >= 0 && column < static_cast<int>(m_kinds.size()) ? m_kinds[column] : HpfColumn_Text; }

    /// Theme colours by key, looked up once per theme.
    QColor color(const QString& key) const
    {
        auto it = m_colors.constFind(key);
        if (it == m_colors.constEnd())
            it = m_colors.insert(key, CUiResource::instance()->getColor(key));
        return it.value();
    }
    void forgetColors() { m_colors.clear(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_kinds.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size()))
            return {};
        const IBaseHpfTableData& row = *m_rows[static_cast<std::size_t>(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return row.getText(index.column());
        case Qt::TextAlignmentRole:
            return static_cast<int>(alignmentOf(kind(index.column())));
        case Qt::ForegroundRole: {
            const QString key = row.getTextColorKey(index.column());
            return key.isEmpty() ? QVariant() : QVariant(color(key));
        }
        case Qt::BackgroundRole: {
            const QString key = m_model ? m_model->getRowBackgroundKey(index.row()) : QString();
            return key.isEmpty() ? QVariant() : QVariant(color(key));
        }
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || !m_model)
            return {};
        if (role == Qt::DisplayRole)
            return m_model->getHeaderText(section);
        if (role == Qt::TextAlignmentRole)
            return static_cast<int>(alignmentOf(kind(section)));
        return {};
    }

private:
    const IBaseHpfTableModel* m_model = nullptr;
    std::vector<int> m_kinds;
    std::vector<IBaseHpfTableDataPtr> m_rows;
    mutable QHash<QString, QColor> m_colors;
};

/// The statistics row: one text per column, drawn under the column's header section so that it
/// follows the columns as they are sized, moved and scrolled.
class CHpfStatisticsBar : public QWidget
{
    Q_OBJECT
public:
    CHpfStatisticsBar(QTableView* view, CHpfItemModel* rows, QWidget* parent)
        : QWidget(parent)
        , m_view(view)
        , m_rows(rows)
    {
        QHeaderView* header = view->horizontalHeader();
        connect(header, &QHeaderView::sectionResized, this, qOverload<>(&QWidget::update));
        connect(header, &QHeaderView::sectionMoved, this, qOverload<>(&QWidget::update));
        connect(header, &QHeaderView::geometriesChanged, this, qOverload<>(&QWidget::update));
        connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    }

    void setTexts(std::vector<QString> texts)
    {
        m_texts = std::move(texts);
        update();
    }
    QString text(int column) const
    {
        return column >= 0 && column < static_cast<int>(m_texts.size()) ? m_texts[static_cast<std::size_t>(column)] : QString();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const CUiResource* resource = CUiResource::instance();
        painter.fillRect(rect(), m_rows->color(QStringLiteral("clr_table_header_background")));
        painter.setPen(m_rows->color(QStringLiteral("clr_table_grid")));
        painter.drawLine(0, height() - 1, width(), height() - 1); // the header follows below
        painter.setFont(resource->getFont(QLatin1String(kStatisticsFontKey)));
        painter.setPen(m_rows->color(QStringLiteral("clr_table_text")));
        const QHeaderView* header = m_view->horizontalHeader();
        const int offset = m_view->viewport()->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
        for (int column = 0; column < static_cast<int>(m_texts.size()); ++column) {
            if (header->isSectionHidden(column) || m_texts[static_cast<std::size_t>(column)].isEmpty())
                continue;
            const QRect cell(offset + header->sectionViewportPosition(column), 0, header->sectionSize(column), height());
            painter.drawText(cell.adjusted(kCellPadding, 0, -kCellPadding, 0), alignmentOf(m_rows->kind(column)),
                             m_texts[static_cast<std::size_t>(column)]);
        }
    }

private:
    QTableView* m_view = nullptr;
    CHpfItemModel* m_rows = nullptr;
    std::vector<QString> m_texts;
};

CStandardHpfTable::CStandardHpfTable(int, QWidget* parent, int flags)
    : CBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_flags(flags)
    , m_view(new QTableView(this))
    , m_itemModel(new CHpfItemModel(this))
{
    m_filterBar = new QWidget(this);
    m_filterBar->setObjectName(QStringLiteral("hpf_filter_bar"));
    m_filterLayout = new QHBoxLayout(m_filterBar);
    m_filterLayout->setContentsMargins(kFilterBarMargin, kFilterBarMargin, kFilterBarMargin, kFilterBarMargin);
    m_filterLayout->addStretch(1);
    m_filterBar->hide();

    m_view->setModel(m_itemModel);
    m_view->verticalHeader()->setVisible(false);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setHighlightSections(false);
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, &CStandardHpfTable::headerClicked);
    connect(m_view, &QTableView::clicked, this, &CStandardHpfTable::cellClicked);

    m_statistics = new CHpfStatisticsBar(m_view, m_itemModel, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_filterBar);
    layout->addWidget(m_statistics);
    layout->addWidget(m_view, 1);
    m_statistics->hide(); // until a column is totalled
    applyFlags();
}

CStandardHpfTable::~CStandardHpfTable()
{
    // The view may not read the rows of a model that is already gone.
    m_itemModel->setRows(nullptr, {});
}

void CStandardHpfTable::setFlag(int flags)
{
    if (flags == m_flags)
        return;
    m_flags = flags;
    applyFlags();
}

void CStandardHpfTable::applyFlags()
{
    CTableFlags::setUpView(m_view, m_flags & ~Flag_WordWrap); // a row keeps to one line
    applyTheme();
}

void CStandardHpfTable::themeChanged()
{
    m_itemModel->forgetColors();
    applyTheme();
}

void CStandardHpfTable::applyTheme()
{
    const CUiResource* resource = CUiResource::instance();
    auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)).name(QColor::HexArgb); };
    const QFont font = resource->getFont(QLatin1String(kFontKey));
    // Cells and headers keep the padding adjustColumnWidth() counts with.
    m_view->setStyleSheet(tableStyleSheet(m_flags)
                          + QStringLiteral("QTableView::item { padding: 0 %1px; } QHeaderView::section { padding: 4px %1px; }").arg(kCellPadding / 2));
    m_filterBar->setStyleSheet(
        QStringLiteral("QWidget#hpf_filter_bar { background: %1; }"
                       "QLineEdit { background: %2; color: %3; border: 1px solid %4; border-radius: 2px; padding: 2px 4px;"
                       " font-family: \"%5\"; font-size: %6px; }")
            .arg(color("clr_table_header_background"), color("clr_edit_background"), color("clr_edit_text"),
                 color("clr_edit_border"), font.family())
            .arg(font.pixelSize()));
    const int rowHeight = m_model && m_model->getRowHeight() > 0 ? m_model->getRowHeight()
                                                                 : resource->getSize(QLatin1String(kRowHeightKey));
    m_view->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_statistics->setFixedHeight(rowHeight);
    m_view->viewport()->update();
    m_statistics->update();
}

void CStandardHpfTable::setDataModel(IBaseHpfTableModel* model)
{
    if (model == m_model.get())
        return;
    m_itemModel->setRows(nullptr, {});
    m_model.reset(model);
    m_sortColumn = -1;
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    applyTheme(); // the model may ask for its own row height
    rebuildFilterBar();
}

void CStandardHpfTable::setColumnFilterable(int column, bool filterable)
{
    if (column < 0 || filterable == isColumnFilterable(column))
        return;
    if (filterable)
        m_filters[column] = QString();
    else
        m_filters.erase(column);
    rebuildFilterBar();
    rebuildRows();
}

bool CStandardHpfTable::isColumnFilterable(int column) const
{
    return m_filters.count(column) > 0;
}

void CStandardHpfTable::setColumnFilter(int column, const QString& filter)
{
    const auto it = m_filters.find(column);
    if (it == m_filters.end() || it->second == filter)
        return;
    it->second = filter;
    const auto edit = m_filterEdits.find(column);
    if (edit != m_filterEdits.end() && edit->second->text() != filter)
        edit->second->setText(filter); // its textChanged comes back here and finds nothing to do
    rebuildRows();
}

void CStandardHpfTable::setColumnStatEnable(int column, bool enable)
{
    if (column < 0)
        return;
    if (column >= static_cast<int>(m_statEnabled.size()))
        m_statEnabled.resize(static_cast<std::size_t>(column) + 1, false);
    if (m_statEnabled[static_cast<std::size_t>(column)] == enable)
        return;
    m_statEnabled[static_cast<std::size_t>(column)] = enable;
    m_statistics->setVisible(std::find(m_statEnabled.begin(), m_statEnabled.end(), true) != m_statEnabled.end());
    rebuildRows();
}

bool CStandardHpfTable::isColumnStatEnabled(int column) const
{
    return column >= 0 && column < static_cast<int>(m_statEnabled.size()) && m_statEnabled[static_cast<std::size_t>(column)];
}

void CStandardHpfTable::updateTable()
{
    nameFilterFields(); // the headers the fields are named after may have changed
    rebuildRows();
}

void CStandardHpfTable::rebuildRows()
{
    if (!m_model) {
        m_itemModel->setRows(nullptr, {});
        m_statistics->setTexts({});
        return;
    }
    std::vector<std::pair<int, QString>> filters;
    for (const auto& entry : m_filters) {
        if (!entry.second.isEmpty())
            filters.emplace_back(entry.first, entry.second);
    }
    const std::vector<IBaseHpfTableDataPtr>& all = m_model->getDatas();
    std::vector<IBaseHpfTableDataPtr> rows;
    if (filters.empty()) {
        rows = all;
    } else {
        std::vector<ColumnFilter> matchers;
        for (const auto& filter : filters)
            matchers.emplace_back(filter.first, m_model->getColumnKind(filter.first) == HpfColumn_Key, filter.second);
        rows.reserve(all.size());
        for (const IBaseHpfTableDataPtr& row : all) {
            const bool shown = std::all_of(matchers.begin(), matchers.end(), [&row](const ColumnFilter& filter) { return filter.matches(*row); });
            if (shown)
                rows.push_back(row);
        }
    }
    if (m_sortColumn >= 0 && m_sortColumn < m_model->getColumnCount()) {
        const int column = m_sortColumn;
        switch (m_model->getColumnKind(column)) {
        case HpfColumn_Key:
            sortRowsBy<std::string>(rows, m_sortOrder, [column](const IBaseHpfTableData& row) { return row.getString(column); });
            break;
        case HpfColumn_Int:
            sortRowsBy<int>(rows, m_sortOrder, [column](const IBaseHpfTableData& row) { return row.getInt(column); });
            break;
        case HpfColumn_Double:
            sortRowsBy<double>(rows, m_sortOrder, [column](const IBaseHpfTableData& row) { return row.getDouble(column); });
            break;
        default:
            sortRowsBy<QString>(rows, m_sortOrder, [column](const IBaseHpfTableData& row) { return row.getText(column); });
            break;
        }
    }
    computeStatistics(rows);
    m_itemModel->setRows(m_model.get(), std::move(rows));
}

void CStandardHpfTable::computeStatistics(const std::vector<IBaseHpfTableDataPtr>& rows)
{
    m_model->clearStatistics();
    const int columns = m_model->getColumnCount();
    for (int column = 0; column < columns; ++column) {
        if (!isColumnStatEnabled(column))
            continue;
        const int kind = m_model->getColumnKind(column);
        if (kind == HpfColumn_Int) {
            long long total = 0;
            for (const IBaseHpfTableDataPtr& row : rows) {
                const int value = row->getInt(column);
                if (value != kNoIntValue)
                    total += value;
            }
            m_model->setStatColumnInt(column, total >= INT_MIN && total < kNoIntValue ? static_cast<int>(total) : kNoIntValue);
        } else if (kind == HpfColumn_Double) {
            double total = 0.0;
            for (const IBaseHpfTableDataPtr& row : rows)
                total += row->getDouble(column);
            m_model->setStatColumnDouble(column, total);
        }
    }
    std::vector<QString> texts;
    for (int column = 0; column < columns; ++column)
        texts.push_back(isColumnStatEnabled(column) ? m_model->getStatText(column) : QString());
    // The first column names the row when nothing is totalled there: the total and how many rows it covers.
    if (!texts.empty() && texts.front().isEmpty())
        texts.front() = QStringLiteral("合计 (%1)").arg(rows.size());
    m_statistics->setTexts(std::move(texts));
}

void CStandardHpfTable::nameFilterFields()
{
    for (const auto& entry : m_filterEdits) {
        const int column = entry.first;
        const QString header = m_model && column < m_model->getColumnCount() ? m_model->getHeaderText(column) : QString();
        entry.second->setPlaceholderText(QStringLiteral("按%1筛选").arg(header));
    }
}

void CStandardHpfTable::rebuildFilterBar()
{
    for (auto& entry : m_filterEdits)
        delete entry.second;
    m_filterEdits.clear();
    for (const auto& entry : m_filters) {
        const int column = entry.first;
        auto* edit = new QLineEdit(m_filterBar);
        edit->setObjectName(QStringLiteral("hpf_filter_%1").arg(column));
        edit->setClearButtonEnabled(true);
        edit->setFixedWidth(kFilterFieldWidth);
        edit->setText(entry.second);
        connect(edit, &QLineEdit::textChanged, this, [this, column](const QString& text) { setColumnFilter(column, text); });
        m_filterLayout->insertWidget(m_filterLayout->count() - 1, edit);
        m_filterEdits[column] = edit;
    }
    nameFilterFields();
    m_filterBar->setVisible(!m_filterEdits.empty());
}

void CStandardHpfTable::adjustColumnWidth()
{
    if (!m_model)
        return;
    const CUiResource* resource = CUiResource::instance();
    const QFontMetrics cells(resource->getFont(QLatin1String(kFontKey)));
    const QFontMetrics totals(resource->getFont(QLatin1String(kStatisticsFontKey)));
    const std::vector<IBaseHpfTableDataPtr>& rows = m_itemModel->rows();
    const std::size_t measured = std::min(rows.size(), static_cast<std::size_t>(kMeasuredRows));
    QHeaderView* header = m_view->horizontalHeader();
    for (int column = 0; column < m_itemModel->columnCount(); ++column) {
        int width = cells.horizontalAdvance(m_model->getHeaderText(column)) + kSortIndicatorRoom;
        width = std::max(width, totals.horizontalAdvance(m_statistics->text(column)));
        // Measuring a text costs far more than looking at it: only the widest-looking one is measured.
        QString widest;
        int widestRoom = -1;
        for (std::size_t i = 0; i < measured; ++i) {
            QString text = rows[i]->getText(column);
            const int room = roughWidth(text);
            if (room > widestRoom) {
                widestRoom = room;
                widest = std::move(text);
            }
        }
        width = std::max(width, cells.horizontalAdvance(widest));
        header->resizeSection(column, width + 2 * kCellPadding);
    }
}

void CStandardHpfTable::sortByColumn(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    QHeaderView* header = m_view->horizontalHeader();
    header->setSortIndicatorShown(column >= 0);
    if (column >= 0)
        header->setSortIndicator(column, order);
    rebuildRows();
}

void CStandardHpfTable::headerClicked(int column)
{
    const bool again = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder;
    sortByColumn(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void CStandardHpfTable::cellClicked(const QModelIndex& index)
{
    const IBaseHpfTableDataPtr row = rowData(index.row());
    if (!row || !m_model || !m_model->isCellClickable(*row, index.column()))
        return;
    deliverEvent(Event_TableCellClick, 0, 0, QStringLiteral("%1,%2").arg(sToQs(row->getKey())).arg(index.column()), nullptr);
}

int CStandardHpfTable::rowCount() const
{
    return m_itemModel->rowCount();
}

IBaseHpfTableDataPtr CStandardHpfTable::rowData(int row) const
{
    const std::vector<IBaseHpfTableDataPtr>& rows = m_itemModel->rows();
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)] : nullptr;
}

QString CStandardHpfTable::cellText(int row, int column) const
{
    return m_itemModel->data(m_itemModel->index(row, column), Qt::DisplayRole).toString();
}

QString CStandardHpfTable::statText(int column) const
{
    return m_statistics->text(column);
}

#include "standardhpftable.moc"
