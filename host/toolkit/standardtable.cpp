#include "standardtable.h"

#include <terminalhost/hostutils.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <QTableWidget>

#include <algorithm>

namespace {
constexpr int kFitPadding = 12;     // px a fitted column keeps beside its widest content
constexpr int kMinFittedWidth = 80; // px; a short header still gets a column one can aim at
const char kNoValueText[] = "-";
}

CStandardTable::CStandardTable(int, QWidget* parent, int flags)
    : CBaseTable(QStringLiteral("standard_table"), flags, parent)
{
    connect(view()->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int) {
        if (m_fitting || !(flag() & Flag_ColumnResize))
            return;
        if (column >= static_cast<int>(m_userSized.size()))
            m_userSized.resize(static_cast<std::size_t>(column) + 1, false);
        m_userSized[static_cast<std::size_t>(column)] = true;
    });
    connect(view(), &QTableWidget::cellClicked, this, [this](int index, int column) {
        if (cellData(rowID(index), column, kClickableRole).toBool())
            deliverEvent(Event_TableCellClick, 0, 0, QStringLiteral("%1,%2").arg(rowID(index)).arg(column), nullptr);
    });
    applyFlags();
}

void CStandardTable::applyFlags()
{
    CBaseTable::applyFlags();
    // Columns nobody sizes share the width; sized ones leave the rest to the last.
    QHeaderView* header = view()->horizontalHeader();
    if (!(flag() & Flag_ColumnResize))
        header->setSectionResizeMode(QHeaderView::Stretch);
    header->setStretchLastSection(flag() & Flag_ColumnResize);
    contentsChanged();
}

void CStandardTable::contentsChanged()
{
    if (!(flag() & Flag_ColumnResize) || m_fitPending)
        return;
    m_fitPending = true;
    QMetaObject::invokeMethod(this, &CStandardTable::fitColumns, Qt::QueuedConnection);
}

void CStandardTable::fitColumns()
{
    m_fitPending = false;
    if (!(flag() & Flag_ColumnResize))
        return;
    const QScopedValueRollback<bool> fitting(m_fitting, true);
    // The last column takes what is left of the width anyway.
    for (int column = 0; column + 1 < view()->columnCount(); ++column) {
        const bool userSized = column < static_cast<int>(m_userSized.size()) && m_userSized[static_cast<std::size_t>(column)];
        if (!userSized) {
            view()->resizeColumnToContents(column);
            view()->setColumnWidth(column, std::max(view()->columnWidth(column) + kFitPadding, kMinFittedWidth));
        }
    }
}

void CStandardTable::setItemInt(int rowId, int column, int value, const QString& colorKey, const QString& fontKey, bool update)
{
    QTableWidgetItem* item = cellItem(rowId, column);
    if (!item)
        return;
    item->setText(value == kNoIntValue ? QLatin1String(kNoValueText) : QString::number(value));
    item->setData(kIntRole, value);
    item->setData(kColorKeyRole, colorKey);
    item->setData(kFontKeyRole, fontKey);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    applyItemLook(item);
    contentsChanged();
    updateIf(update);
}

int CStandardTable::itemInt(int rowId, int column) const
{
    const QVariant value = cellData(rowId, column, kIntRole);
    return value.isValid() ? value.toInt() : kNoIntValue;
}

QString CStandardTable::itemFontKey(int rowId, int column) const
{
    return cellData(rowId, column, kFontKeyRole).toString();
}

void CStandardTable::setItemWidget(int rowId, int column, QWidget* widget, int alignment, bool update)
{
    const int index = indexOf(rowId);
    if (index < 0 || column < 0 || column >= columnCount() || !widget)
        return;
    // The cell holds a holder so that the widget keeps its own size, placed by alignment.
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->addWidget(widget, 0, Qt::Alignment(alignment));
    view()->setCellWidget(index, column, holder);
    contentsChanged();
    updateIf(update);
}

QWidget* CStandardTable::itemWidget(int rowId, int column) const
{
    const int index = indexOf(rowId);
    QWidget* holder = index < 0 ? nullptr : view()->cellWidget(index, column);
    QLayoutItem* item = holder && holder->layout() ? holder->layout()->itemAt(0) : nullptr;
    return item ? item->widget() : nullptr;
}

void CStandardTable::setItemClickable(int rowId, int column, bool clickable)
{
    if (QTableWidgetItem* item = cellItem(rowId, column))
        item->setData(kClickableRole, clickable);
}
