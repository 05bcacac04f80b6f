#include "recordlistpanel.h"

#include <terminalhost/standardtable.h>
#include <terminalhost/uiresource.h>

#include <QLabel>
#include <QVBoxLayout>

namespace {
// The panel shows the newest records; a flood of history would only slow the refresh down.
constexpr std::size_t kMaxRows = 500;
constexpr int kTableFlags = CStandardTable::Flag_HeaderVisible | CStandardTable::Flag_RowSelect
    | CStandardTable::Flag_HoverRow | CStandardTable::Flag_AlternateRows;
}

CRecordListPanel::CRecordListPanel(const QString& name, const QStringList& headers, QWidget* parent)
    : ITradeDockableWidget(name, parent)
    , m_table(new CStandardTable(0, this, kTableFlags))
    , m_caption(new QLabel(this))
{
    m_table->setColumnCount(headers.size());
    for (int column = 0; column < headers.size(); ++column)
        m_table->setHeaderText(column, headers.at(column));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->addWidget(m_caption);
    layout->addWidget(m_table, 1);
    m_caption->setStyleSheet(QStringLiteral("color: %1;").arg(CUiResource::instance()->getColor(QStringLiteral("clr_table_text")).name()));
}

void CRecordListPanel::showRunning()
{
    logRequest(QStringLiteral("showRunning"));
    m_runningOnly = true;
    onTimer(TimerUpdate_None);
}

QString CRecordListPanel::caption() const
{
    return m_caption->text();
}

void CRecordListPanel::showRows(std::vector<QStringList> rows, const QString& caption)
{
    if (rows.size() > kMaxRows)
        rows.erase(rows.begin(), rows.end() - kMaxRows);
    const int wanted = static_cast<int>(rows.size());
    while (m_table->rowCount() > wanted)
        m_table->removeRow(m_table->rowID(m_table->rowCount() - 1));
    while (m_table->rowCount() < wanted)
        m_table->appendRow();
    for (int index = 0; index < wanted; ++index) {
        const int row = m_table->rowID(index);
        const QStringList& texts = rows[index];
        for (int column = 0; column < texts.size(); ++column)
            m_table->setItemText(row, column, texts.at(column), column + 1 == texts.size());
    }
    m_caption->setText(caption);
}
