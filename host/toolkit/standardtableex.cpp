#include "standardtableex.h"

#include <terminalhost/basetablecolumndelegate.h>
#include <terminalhost/stylesheetcenter.h>
#include <terminalhost/uiresource.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const char kObjectName[] = "standard_table_ex";
const char kFontKey[] = "fnt_default_normal";
constexpr int kColorKeyRole = Qt::UserRole + 1;
}

/// Paints a delegated column's cells: the item view's own background (selection, hover), then
/// whatever the column delegate draws for the cell's key.
class CColumnDelegateAdapter : public QStyledItemDelegate
{
    Q_OBJECT
public:
    CColumnDelegateAdapter(const CStandardTableEx* table, const CBaseTableColumnDelegate* delegate, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_table(table)
        , m_delegate(delegate)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem background(option);
        initStyleOption(&background, index);
        background.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, widget);
        const int rowId = m_table->rowID(index.row());
        if (rowId >= 0)
            m_delegate->paintCell(painter, option.rect, QString::number(rowId), option.state & QStyle::State_MouseOver);
    }

private:
    const CStandardTableEx* m_table;
    const CBaseTableColumnDelegate* m_delegate;
};

CStandardTableEx::CStandardTableEx(int, QWidget* parent)
    : CBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_view(new QTableWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->verticalHeader()->setVisible(false);
    m_view->setFocusPolicy(Qt::NoFocus);
    // Tracking always: clickable cells underline and change the cursor whatever the flags.
    m_view->setMouseTracking(true);
    m_view->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view->horizontalHeader(), &QHeaderView::customContextMenuRequested, this, &CStandardTableEx::showColumnMenu);
    connect(m_view, &QTableWidget::cellEntered, this, &CStandardTableEx::cellEntered);
    connect(m_view, &QTableWidget::cellClicked, this, [this](int index, int column) {
        const auto it = m_delegates.find(column);
        const int rowId = rowID(index);
        if (it != m_delegates.end() && rowId >= 0)
            it->second->cellClicked(QString::number(rowId));
    });
    applyFlags();
}

CStandardTableEx::~CStandardTableEx()
{
    // The view goes first: it must not paint with a delegate that is already gone.
    delete m_view;
    m_view = nullptr;
    for (auto& entry : m_delegates)
        delete entry.second;
}

void CStandardTableEx::setFlag(int flags)
{
    if (flags == m_flags)
        return;
    m_flags = flags;
    applyFlags();
}

void CStandardTableEx::applyFlags()
{
    QHeaderView* header = m_view->horizontalHeader();
    header->setVisible(m_flags & Flag_HeaderVisible);
    header->setSectionsMovable(m_flags & Flag_ColumnMove);
    header->setSectionResizeMode((m_flags & Flag_ColumnResize) ? QHeaderView::Interactive : QHeaderView::Fixed);
    header->setStretchLastSection(m_flags & Flag_LastColumnStretch);
    m_view->setSelectionBehavior((m_flags & Flag_RowSelect) ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    m_view->setSelectionMode((m_flags & Flag_MultiSelect) ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    m_view->setShowGrid(m_flags & Flag_GridLines);
    m_view->setWordWrap(m_flags & Flag_WordWrap);
    m_view->setAlternatingRowColors(m_flags & Flag_AlternateRows);
    m_view->setEditTriggers((m_flags & Flag_Editable) ? QAbstractItemView::DoubleClicked : QAbstractItemView::NoEditTriggers);
    if (!(m_flags & Flag_ClickableCursor))
        m_view->viewport()->unsetCursor();
    applyTheme();
}

void CStandardTableEx::themeChanged()
{
    applyTheme();
}

void CStandardTableEx::applyTheme()
{
    const CUiResource* resource = CUiResource::instance();
    auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)).name(QColor::HexArgb); };
    const QFont font = resource->getFont(QLatin1String(kFontKey));
    const QString hover = (m_flags & Flag_HoverRow)
        ? QStringLiteral("QTableView::item:hover { background: %1; }").arg(color("clr_table_hover_background"))
        : QString();
    m_view->setStyleSheet(
        QStringLiteral("QTableView { background: %1; alternate-background-color: %2; color: %3; gridline-color: %4; border: none;"
                       " selection-background-color: %5; selection-color: %3; font-family: \"%6\"; font-size: %7px; }"
                       "QHeaderView::section { background: %8; color: %3; border: none; border-right: 1px solid %4;"
                       " border-bottom: 1px solid %4; padding: 4px; font-family: \"%6\"; font-size: %7px; }"
                       "QTableCornerButton::section { background: %8; border: none; }")
            .arg(color("clr_table_background"), color("clr_table_alternate_background"), color("clr_table_text"),
                 color("clr_table_grid"), color("clr_table_selected_background"), font.family())
            .arg(font.pixelSize())
            .arg(color("clr_table_header_background"))
        + hover);
    m_view->verticalHeader()->setDefaultSectionSize(resource->getSize(QStringLiteral("tc_siz_table_row_height")));
    for (int index = 0; index < m_view->rowCount(); ++index) {
        for (int column = 0; column < m_view->columnCount(); ++column)
            applyTextColor(index, column);
    }
}

void CStandardTableEx::setColumnCount(int count)
{
    m_view->setColumnCount(count);
    m_colListVisible.resize(static_cast<std::size_t>(std::max(0, count)), false);
    for (auto it = m_delegates.begin(); it != m_delegates.end();) {
        if (it->first >= count) {
            delete it->second;
            it = m_delegates.erase(it);
        } else {
            ++it;
        }
    }
}

int CStandardTableEx::columnCount() const
{
    return m_view->columnCount();
}

void CStandardTableEx::setHeaderText(int column, const QString& text)
{
    if (column < 0 || column >= m_view->columnCount())
        return;
    m_view->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
}

QString CStandardTableEx::headerText(int column) const
{
    const QTableWidgetItem* item = m_view->horizontalHeaderItem(column);
    return item ? item->text() : QString();
}

void CStandardTableEx::setColumnVisible(int column, bool visible)
{
    if (column >= 0 && column < m_view->columnCount())
        m_view->setColumnHidden(column, !visible);
}

bool CStandardTableEx::isColumnVisible(int column) const
{
    return column >= 0 && column < m_view->columnCount() && !m_view->isColumnHidden(column);
}

void CStandardTableEx::setColListVisible(int column, bool visible)
{
    if (column >= 0 && column < static_cast<int>(m_colListVisible.size()))
        m_colListVisible[static_cast<std::size_t>(column)] = visible;
}

bool CStandardTableEx::isColListVisible(int column) const
{
    return column >= 0 && column < static_cast<int>(m_colListVisible.size()) && m_colListVisible[static_cast<std::size_t>(column)];
}

std::vector<int> CStandardTableEx::columnListEntries() const
{
    std::vector<int> columns;
    for (int column = 0; column < static_cast<int>(m_colListVisible.size()); ++column) {
        if (m_colListVisible[static_cast<std::size_t>(column)])
            columns.push_back(column);
    }
    return columns;
}

void CStandardTableEx::showColumnMenu(const QPoint& pos)
{
    const std::vector<int> columns = columnListEntries();
    if (columns.empty())
        return;
    QMenu menu(this);
    menu.setStyleSheet(CStyleSheetCenter::getStyle(CStyleSheetCenter::Style_Menu, &menu));
    for (int column : columns) {
        QString title = headerText(column);
        if (title.isEmpty())
            title = QString::number(column + 1);
        QAction* action = menu.addAction(title);
        action->setCheckable(true);
        action->setChecked(isColumnVisible(column));
        connect(action, &QAction::toggled, this, [this, column](bool on) { setColumnVisible(column, on); });
    }
    menu.exec(m_view->horizontalHeader()->mapToGlobal(pos));
}

void CStandardTableEx::setColumnWidth(int column, int width)
{
    if (column >= 0 && column < m_view->columnCount())
        m_view->horizontalHeader()->resizeSection(column, width);
}

int CStandardTableEx::columnWidth(int column) const
{
    return m_view->columnWidth(column);
}

void CStandardTableEx::setColumnDelegate(int column, CBaseTableColumnDelegate* delegate)
{
    if (column < 0 || column >= m_view->columnCount())
        return;
    auto it = m_delegates.find(column);
    if (it != m_delegates.end() && it->second == delegate)
        return;
    if (QAbstractItemDelegate* adapter = m_view->itemDelegateForColumn(column)) {
        m_view->setItemDelegateForColumn(column, nullptr);
        delete adapter;
    }
    if (it != m_delegates.end()) {
        delete it->second;
        m_delegates.erase(it);
    }
    if (!delegate)
        return;
    delegate->setParent(nullptr); // owned through m_delegates, deleted after the view
    m_delegates[column] = delegate;
    m_view->setItemDelegateForColumn(column, new CColumnDelegateAdapter(this, delegate, m_view));
    connect(delegate, &CBaseTableColumnDelegate::sigChanged, m_view->viewport(), qOverload<>(&QWidget::update));
}

CBaseTableColumnDelegate* CStandardTableEx::columnDelegate(int column) const
{
    const auto it = m_delegates.find(column);
    return it == m_delegates.end() ? nullptr : it->second;
}

void CStandardTableEx::clear()
{
    m_view->setRowCount(0);
    m_rowIds.clear();
    m_nextRowId = 0;
    for (auto& entry : m_delegates)
        entry.second->clearItems();
}

int CStandardTableEx::insertRowAt(int index)
{
    const int rowId = m_nextRowId++;
    m_view->insertRow(index);
    if (index == 0)
        m_rowIds.push_front(rowId);
    else
        m_rowIds.push_back(rowId);
    return rowId;
}

int CStandardTableEx::prependRow()
{
    return insertRowAt(0);
}

int CStandardTableEx::appendRow()
{
    return insertRowAt(m_view->rowCount());
}

int CStandardTableEx::rowCount() const
{
    return static_cast<int>(m_rowIds.size());
}

int CStandardTableEx::rowID(int index) const
{
    return index >= 0 && index < rowCount() ? m_rowIds[static_cast<std::size_t>(index)] : -1;
}

int CStandardTableEx::indexOf(int rowId) const
{
    // Rows are filled right after they are added, at either end: look at both ends first.
    if (!m_rowIds.empty() && m_rowIds.front() == rowId)
        return 0;
    if (!m_rowIds.empty() && m_rowIds.back() == rowId)
        return rowCount() - 1;
    const auto it = std::find(m_rowIds.begin(), m_rowIds.end(), rowId);
    return it == m_rowIds.end() ? -1 : static_cast<int>(it - m_rowIds.begin());
}

void CStandardTableEx::setItemText(int rowId, int column, const QString& text, bool update)
{
    const int index = indexOf(rowId);
    if (index < 0 || column < 0 || column >= m_view->columnCount())
        return;
    if (QTableWidgetItem* item = m_view->item(index, column))
        item->setText(text);
    else
        m_view->setItem(index, column, new QTableWidgetItem(text));
    if (update)
        m_view->viewport()->update();
}

QString CStandardTableEx::itemText(int rowId, int column) const
{
    const int index = indexOf(rowId);
    const QTableWidgetItem* item = index < 0 ? nullptr : m_view->item(index, column);
    return item ? item->text() : QString();
}

void CStandardTableEx::setItemTextColorKey(int rowId, int column, const QString& key, bool update)
{
    const int index = indexOf(rowId);
    if (index < 0 || column < 0 || column >= m_view->columnCount())
        return;
    if (!m_view->item(index, column))
        m_view->setItem(index, column, new QTableWidgetItem);
    m_view->item(index, column)->setData(kColorKeyRole, key);
    applyTextColor(index, column);
    if (update)
        m_view->viewport()->update();
}

QString CStandardTableEx::itemTextColorKey(int rowId, int column) const
{
    const int index = indexOf(rowId);
    const QTableWidgetItem* item = index < 0 ? nullptr : m_view->item(index, column);
    return item ? item->data(kColorKeyRole).toString() : QString();
}

void CStandardTableEx::applyTextColor(int index, int column)
{
    QTableWidgetItem* item = m_view->item(index, column);
    if (!item)
        return;
    const QString key = item->data(kColorKeyRole).toString();
    if (key.isEmpty())
        item->setData(Qt::ForegroundRole, QVariant());
    else
        item->setForeground(CUiResource::instance()->getColor(key));
}

void CStandardTableEx::cellEntered(int index, int column)
{
    if (!(m_flags & Flag_ClickableCursor))
        return;
    const auto it = m_delegates.find(column);
    const bool clickable = it != m_delegates.end() && it->second->isClickable(QString::number(rowID(index)));
    if (clickable)
        m_view->viewport()->setCursor(Qt::PointingHandCursor);
    else
        m_view->viewport()->unsetCursor();
}

#include "standardtableex.moc"
