#include "standardtableex.h"

#include <terminalhost/basetablecolumndelegate.h>
#include <terminalhost/stylesheetcenter.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace {
const char kObjectName[] = "standard_table_ex";
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
    : CBaseTable(QLatin1String(kObjectName), kDefaultFlags, parent)
{
    view()->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view()->horizontalHeader(), &QHeaderView::customContextMenuRequested, this, &CStandardTableEx::showColumnMenu);
    connect(view(), &QTableWidget::cellEntered, this, &CStandardTableEx::cellEntered);
    connect(view(), &QTableWidget::cellClicked, this, [this](int index, int column) {
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
    delete view();
    for (auto& entry : m_delegates)
        delete entry.second;
}

void CStandardTableEx::applyFlags()
{
    CBaseTable::applyFlags();
    // Tracking always: clickable cells underline and change the cursor whatever the flags.
    view()->setMouseTracking(true);
    view()->horizontalHeader()->setStretchLastSection(flag() & Flag_LastColumnStretch);
    view()->setEditTriggers((flag() & Flag_Editable) ? QAbstractItemView::DoubleClicked : QAbstractItemView::NoEditTriggers);
    if (!(flag() & Flag_ClickableCursor))
        view()->viewport()->unsetCursor();
}

void CStandardTableEx::columnCountChanged()
{
    m_colListVisible.resize(static_cast<std::size_t>(columnCount()), false);
    for (auto it = m_delegates.begin(); it != m_delegates.end();) {
        if (it->first >= columnCount()) {
            delete it->second;
            it = m_delegates.erase(it);
        } else {
            ++it;
        }
    }
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
    menu.exec(view()->horizontalHeader()->mapToGlobal(pos));
}

void CStandardTableEx::setColumnWidth(int column, int width)
{
    if (column >= 0 && column < columnCount())
        view()->horizontalHeader()->resizeSection(column, width);
}

int CStandardTableEx::columnWidth(int column) const
{
    return view()->columnWidth(column);
}

void CStandardTableEx::setColumnDelegate(int column, CBaseTableColumnDelegate* delegate)
{
    if (column < 0 || column >= columnCount())
        return;
    auto it = m_delegates.find(column);
    if (it != m_delegates.end() && it->second == delegate)
        return;
    if (QAbstractItemDelegate* adapter = view()->itemDelegateForColumn(column)) {
        view()->setItemDelegateForColumn(column, nullptr);
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
    view()->setItemDelegateForColumn(column, new CColumnDelegateAdapter(this, delegate, view()));
    connect(delegate, &CBaseTableColumnDelegate::sigChanged, view()->viewport(), qOverload<>(&QWidget::update));
}

CBaseTableColumnDelegate* CStandardTableEx::columnDelegate(int column) const
{
    const auto it = m_delegates.find(column);
    return it == m_delegates.end() ? nullptr : it->second;
}

void CStandardTableEx::clear()
{
    CBaseTable::clear();
    for (auto& entry : m_delegates)
        entry.second->clearItems();
}

int CStandardTableEx::prependRow()
{
    return insertRowAt(0);
}

void CStandardTableEx::cellEntered(int index, int column)
{
    if (!(flag() & Flag_ClickableCursor))
        return;
    const auto it = m_delegates.find(column);
    const bool clickable = it != m_delegates.end() && it->second->isClickable(QString::number(rowID(index)));
    if (clickable)
        view()->viewport()->setCursor(Qt::PointingHandCursor);
    else
        view()->viewport()->unsetCursor();
}

#include "standardtableex.moc"
