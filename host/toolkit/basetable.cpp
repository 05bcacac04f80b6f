#include "basetable.h"

#include <terminalhost/uiresource.h>

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const char kRowHeightKey[] = "tc_siz_table_row_height";
}

CBaseTable::CBaseTable(const QString& objectName, int flags, QWidget* parent)
    : CBaseWidget(objectName, false, parent)
    , m_view(new QTableWidget(this))
    , m_flags(flags)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->verticalHeader()->setVisible(false);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setFocusPolicy(Qt::NoFocus);
}

void CBaseTable::setFlag(int flags)
{
    if (flags == m_flags)
        return;
    m_flags = flags;
    applyFlags();
}

void CBaseTable::applyFlags()
{
    CTableFlags::setUpView(m_view, m_flags);
    applyTheme();
}

void CBaseTable::themeChanged()
{
    applyTheme();
    contentsChanged(); // the texts' widths follow the fonts
}

void CBaseTable::applyTheme()
{
    m_view->setStyleSheet(tableStyleSheet(m_flags));
    m_view->verticalHeader()->setDefaultSectionSize(CUiResource::instance()->getSize(QLatin1String(kRowHeightKey)));
    for (int index = 0; index < m_view->rowCount(); ++index) {
        for (int column = 0; column < m_view->columnCount(); ++column) {
            if (QTableWidgetItem* item = m_view->item(index, column))
                applyItemLook(item);
        }
    }
}

void CBaseTable::applyItemLook(QTableWidgetItem* item) const
{
    const CUiResource* resource = CUiResource::instance();
    const QString colorKey = item->data(kColorKeyRole).toString();
    const QString fontKey = item->data(kFontKeyRole).toString();
    item->setData(Qt::ForegroundRole, colorKey.isEmpty() ? QVariant() : QVariant(resource->getColor(colorKey)));
    item->setData(Qt::FontRole, fontKey.isEmpty() ? QVariant() : QVariant(resource->getFont(fontKey)));
}

void CBaseTable::updateIf(bool update)
{
    if (update)
        m_view->viewport()->update();
}

void CBaseTable::setColumnCount(int count)
{
    m_view->setColumnCount(count);
    columnCountChanged();
    contentsChanged();
}

int CBaseTable::columnCount() const
{
    return m_view->columnCount();
}

void CBaseTable::setHeaderText(int column, const QString& text)
{
    if (column < 0 || column >= m_view->columnCount())
        return;
    m_view->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
    contentsChanged();
}

QString CBaseTable::headerText(int column) const
{
    const QTableWidgetItem* item = m_view->horizontalHeaderItem(column);
    return item ? item->text() : QString();
}

void CBaseTable::setColumnVisible(int column, bool visible)
{
    if (column >= 0 && column < m_view->columnCount())
        m_view->setColumnHidden(column, !visible);
}

bool CBaseTable::isColumnVisible(int column) const
{
    return column >= 0 && column < m_view->columnCount() && !m_view->isColumnHidden(column);
}

void CBaseTable::clear()
{
    m_view->setRowCount(0);
    m_rowIds.clear();
    m_nextRowId = 0;
}

int CBaseTable::insertRowAt(int index)
{
    const int rowId = m_nextRowId++;
    m_view->insertRow(index);
    if (index == 0)
        m_rowIds.push_front(rowId);
    else
        m_rowIds.push_back(rowId);
    return rowId;
}

int CBaseTable::appendRow()
{
    return insertRowAt(m_view->rowCount());
}

int CBaseTable::rowCount() const
{
    return static_cast<int>(m_rowIds.size());
}

int CBaseTable::rowID(int index) const
{
    return index >= 0 && index < rowCount() ? m_rowIds[static_cast<std::size_t>(index)] : -1;
}

int CBaseTable::indexOf(int rowId) const
{
    // Rows are filled right after they are added, at either end: look at both ends first.
    if (!m_rowIds.empty() && m_rowIds.front() == rowId)
        return 0;
    if (!m_rowIds.empty() && m_rowIds.back() == rowId)
        return rowCount() - 1;
    const auto it = std::find(m_rowIds.begin(), m_rowIds.end(), rowId);
    return it == m_rowIds.end() ? -1 : static_cast<int>(it - m_rowIds.begin());
}

void CBaseTable::removeRow(int rowId)
{
    const int index = indexOf(rowId);
    if (index < 0)
        return;
    m_rowIds.erase(m_rowIds.begin() + index);
    m_view->removeRow(index);
}

QTableWidgetItem* CBaseTable::cellItem(int rowId, int column)
{
    const int index = indexOf(rowId);
    if (index < 0 || column < 0 || column >= m_view->columnCount())
        return nullptr;
    if (!m_view->item(index, column))
        m_view->setItem(index, column, new QTableWidgetItem);
    return m_view->item(index, column);
}

QVariant CBaseTable::cellData(int rowId, int column, int role) const
{
    const int index = indexOf(rowId);
    const QTableWidgetItem* item = index < 0 ? nullptr : m_view->item(index, column);
    return item ? item->data(role) : QVariant();
}

void CBaseTable::setItemText(int rowId, int column, const QString& text, bool update)
{
    QTableWidgetItem* item = cellItem(rowId, column);
    if (!item)
        return;
    item->setText(text);
    contentsChanged();
    updateIf(update);
}

QString CBaseTable::itemText(int rowId, int column) const
{
    return cellData(rowId, column, Qt::DisplayRole).toString();
}

void CBaseTable::setItemTextColorKey(int rowId, int column, const QString& key, bool update)
{
    QTableWidgetItem* item = cellItem(rowId, column);
    if (!item)
        return;
    item->setData(kColorKeyRole, key);
    applyItemLook(item);
    updateIf(update);
}

QString CBaseTable::itemTextColorKey(int rowId, int column) const
{
    return cellData(rowId, column, kColorKeyRole).toString();
}
