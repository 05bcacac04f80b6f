#include "standardtable.h"

#include <terminalhost/hostutils.h>
#include <terminalhost/uiresource.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QScopedValueRollback>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kRowHeight = 24;
constexpr int kFitPadding = 12;     // px a fitted column keeps beside its widest content
constexpr int kMinFittedWidth = 80; // px; a short header still gets a column one can aim at
constexpr int kClickableRole = Qt::UserRole + 1;
constexpr int kColorKeyRole = Qt::UserRole + 2;
constexpr int kFontKeyRole = Qt::UserRole + 3;
constexpr int kIntRole = Qt::UserRole + 4;
const char kNoValueText[] = "-";
}

CStandardTable::CStandardTable(int style, QWidget* parent, int flags)
    : CBaseWidget(QStringLiteral("standard_table"), false, parent)
    , m_view(new QTableWidget(this))
    , m_style(style)
    , m_flags(flags)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->verticalHeader()->setVisible(false);
    m_view->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setFocusPolicy(Qt::NoFocus);
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int) {
        if (m_fitting || !(m_flags & Flag_ColumnResize))
            return;
        if (column >= static_cast<int>(m_userSized.size()))
            m_userSized.resize(static_cast<std::size_t>(column) + 1, false);
        m_userSized[static_cast<std::size_t>(column)] = true;
    });
    connect(m_view, &QTableWidget::cellClicked, this, [this](int index, int column) {
        const QTableWidgetItem* item = m_view->item(index, column);
        if (item && item->data(kClickableRole).toBool())
            deliverEvent(Event_TableCellClick, 0, 0, QStringLiteral("%1,%2").arg(rowID(index)).arg(column), nullptr);
    });
    applyFlags();
    applyTheme();
}

void CStandardTable::setFlag(int flags)
{
    if (flags == m_flags)
        return;
    m_flags = flags;
    applyFlags();
}

void CStandardTable::applyFlags()
{
    QHeaderView* header = m_view->horizontalHeader();
    header->setVisible(m_flags & Flag_HeaderVisible);
    header->setSectionsMovable(m_flags & Flag_ColumnMove);
    header->setSectionResizeMode((m_flags & Flag_ColumnResize) ? QHeaderView::Interactive : QHeaderView::Stretch);
    header->setStretchLastSection(m_flags & Flag_ColumnResize);
    m_view->setSelectionBehavior((m_flags & Flag_RowSelect) ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    m_view->setSelectionMode((m_flags & Flag_MultiSelect) ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    m_view->setShowGrid(m_flags & Flag_GridLines);
    m_view->setWordWrap(m_flags & Flag_WordWrap);
    m_view->setMouseTracking(m_flags & Flag_HoverRow);
    m_view->setAlternatingRowColors(m_flags & Flag_AlternateRows);
    applyTheme();
}

void CStandardTable::themeChanged()
{
    applyTheme();
    scheduleFit(); // the texts' widths follow the fonts
}

void CStandardTable::applyTheme()
{
    const CUiResource* resource = CUiResource::instance();
    auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)).name(QColor::HexArgb); };
    const QFont font = resource->getFont(QStringLiteral("fnt_default_normal"));
    const QString hover = (m_flags & Flag_HoverRow) ? QStringLiteral("QTableView::item:hover { background: %1; }").arg(color("clr_table_hover_background"))
                                                    : QString();
    m_view->setStyleSheet(
        QStringLiteral("QTableView { background: %1; alternate-background-color: %2; color: %3; gridline-color: %4; border: none;"
                       " selection-background-color: %5; font-family: \"%6\"; font-size: %7px; }"
                       "QHeaderView::section { background: %8; color: %3; border: none; border-right: 1px solid %4; padding: 4px; }")
            .arg(color("clr_table_background"), color("clr_table_alternate_background"), color("clr_table_text"),
                 color("clr_table_grid"), color("clr_table_selected_background"), font.family())
            .arg(font.pixelSize())
            .arg(color("clr_table_header_background"))
        + hover);
    for (int index = 0; index < m_view->rowCount(); ++index) {
        for (int column = 0; column < m_view->columnCount(); ++column) {
            if (QTableWidgetItem* item = m_view->item(index, column))
                applyItemLook(item);
        }
    }
}

void CStandardTable::applyItemLook(QTableWidgetItem* item)
{
    const CUiResource* resource = CUiResource::instance();
    const QString colorKey = item->data(kColorKeyRole).toString();
    const QString fontKey = item->data(kFontKeyRole).toString();
    item->setData(Qt::ForegroundRole, colorKey.isEmpty() ? QVariant() : QVariant(resource->getColor(colorKey)));
    item->setData(Qt::FontRole, fontKey.isEmpty() ? QVariant() : QVariant(resource->getFont(fontKey)));
}

void CStandardTable::setColumnCount(int count)
{
    m_view->setColumnCount(count);
    scheduleFit();
}

void CStandardTable::scheduleFit()
{
    if (!(m_flags & Flag_ColumnResize) || m_fitPending)
        return;
    m_fitPending = true;
    QMetaObject::invokeMethod(this, &CStandardTable::fitColumns, Qt::QueuedConnection);
}

void CStandardTable::fitColumns()
{
    m_fitPending = false;
    if (!(m_flags & Flag_ColumnResize))
        return;
    const QScopedValueRollback<bool> fitting(m_fitting, true);
    // The last column takes what is left of the width anyway.
    for (int column = 0; column + 1 < m_view->columnCount(); ++column) {
        const bool userSized = column < static_cast<int>(m_userSized.size()) && m_userSized[static_cast<std::size_t>(column)];
        if (!userSized) {
            m_view->resizeColumnToContents(column);
            m_view->setColumnWidth(column, std::max(m_view->columnWidth(column) + kFitPadding, kMinFittedWidth));
        }
    }
}

int CStandardTable::columnCount() const
{
    return m_view->columnCount();
}

void CStandardTable::setHeaderText(int column, const QString& text)
{
    if (column < 0 || column >= m_view->columnCount())
        return;
    m_view->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
    scheduleFit();
}

QString CStandardTable::headerText(int column) const
{
    const QTableWidgetItem* item = m_view->horizontalHeaderItem(column);
    return item ? item->text() : QString();
}

void CStandardTable::setColumnVisible(int column, bool visible)
{
    m_view->setColumnHidden(column, !visible);
}

bool CStandardTable::isColumnVisible(int column) const
{
    return column >= 0 && column < m_view->columnCount() && !m_view->isColumnHidden(column);
}

void CStandardTable::clear()
{
    m_view->setRowCount(0);
    m_rowIds.clear();
    m_nextRowId = 0;
}

int CStandardTable::appendRow()
{
    const int rowId = m_nextRowId++;
    m_rowIds.push_back(rowId);
    m_view->insertRow(m_view->rowCount());
    return rowId;
}

int CStandardTable::rowCount() const
{
    return static_cast<int>(m_rowIds.size());
}

int CStandardTable::rowID(int index) const
{
    return index >= 0 && index < rowCount() ? m_rowIds[index] : -1;
}

int CStandardTable::indexOf(int rowId) const
{
    const auto it = std::find(m_rowIds.begin(), m_rowIds.end(), rowId);
    return it == m_rowIds.end() ? -1 : static_cast<int>(it - m_rowIds.begin());
}

void CStandardTable::removeRow(int rowId)
{
    const int index = indexOf(rowId);
    if (index < 0)
        return;
    m_rowIds.erase(m_rowIds.begin() + index);
    m_view->removeRow(index);
}

void CStandardTable::setItemText(int rowId, int column, const QString& text, bool update)
{
    const int index = indexOf(rowId);
    if (index < 0 || column < 0 || column >= m_view->columnCount())
        return;
    if (QTableWidgetItem* item = m_view->item(index, column))
        item->setText(text);
    else
        m_view->setItem(index, column, new QTableWidgetItem(text));
    scheduleFit();
    if (update)
        m_view->viewport()->update();
}

QString CStandardTable::itemText(int rowId, int column) const
{
    const int index = indexOf(rowId);
    const QTableWidgetItem* item = index < 0 ? nullptr : m_view->item(index, column);
    return item ? item->text() : QString();
}

QTableWidgetItem* CStandardTable::cellItem(int rowId, int column)
{
    const int index = indexOf(rowId);
    if (index < 0 || column < 0 || column >= m_view->columnCount())
        return nullptr;
    if (!m_view->item(index, column))
        m_view->setItem(index, column, new QTableWidgetItem);
    return m_view->item(index, column);
}

QVariant CStandardTable::cellData(int rowId, int column, int role) const
{
    const int index = indexOf(rowId);
    const QTableWidgetItem* item = index < 0 ? nullptr : m_view->item(index, column);
    return item ? item->data(role) : QVariant();
}

void CStandardTable::setItemInt(int rowId, int column, int value, int formatFlags, const QString& colorKey,
                                const QString& fontKey, bool update)
{
    QTableWidgetItem* item = cellItem(rowId, column);
    if (!item)
        return;
    QString text = QLatin1String(kNoValueText);
    if (value != kNoIntValue)
        text = (formatFlags & IntFormat_Grouping) ? QLocale(QLocale::Chinese).toString(value) : QString::number(value);
    item->setText(text);
    item->setData(kIntRole, value);
    item->setData(kColorKeyRole, colorKey);
    item->setData(kFontKeyRole, fontKey);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    applyItemLook(item);
    scheduleFit();
    if (update)
        m_view->viewport()->update();
}

int CStandardTable::itemInt(int rowId, int column) const
{
    const QVariant value = cellData(rowId, column, kIntRole);
    return value.isValid() ? value.toInt() : kNoIntValue;
}

void CStandardTable::setItemTextColorKey(int rowId, int column, const QString& key, bool update)
{
    QTableWidgetItem* item = cellItem(rowId, column);
    if (!item)
        return;
    item->setData(kColorKeyRole, key);
    applyItemLook(item);
    if (update)
        m_view->viewport()->update();
}

QString CStandardTable::itemTextColorKey(int rowId, int column) const
{
    return cellData(rowId, column, kColorKeyRole).toString();
}

QString CStandardTable::itemFontKey(int rowId, int column) const
{
    return cellData(rowId, column, kFontKeyRole).toString();
}

void CStandardTable::setItemWidget(int rowId, int column, QWidget* widget, int alignment, bool update)
{
    const int index = indexOf(rowId);
    if (index < 0 || column < 0 || column >= m_view->columnCount() || !widget)
        return;
    // The cell holds a holder so that the widget keeps its own size, placed by alignment.
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->addWidget(widget, 0, Qt::Alignment(alignment));
    m_view->setCellWidget(index, column, holder);
    scheduleFit();
    if (update)
        m_view->viewport()->update();
}

QWidget* CStandardTable::itemWidget(int rowId, int column) const
{
    const int index = indexOf(rowId);
    QWidget* holder = index < 0 ? nullptr : m_view->cellWidget(index, column);
    QLayoutItem* item = holder && holder->layout() ? holder->layout()->itemAt(0) : nullptr;
    return item ? item->widget() : nullptr;
}

void CStandardTable::setItemClickable(int rowId, int column, bool clickable)
{
    const int index = indexOf(rowId);
    if (index < 0 || column < 0 || column >= m_view->columnCount())
        return;
    if (!m_view->item(index, column))
        m_view->setItem(index, column, new QTableWidgetItem);
    m_view->item(index, column)->setData(kClickableRole, clickable);
}
