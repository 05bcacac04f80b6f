#include "messagepanel.h"

#include "standardtable.h"

#include <QVBoxLayout>

namespace {
constexpr int kTableFlags = CStandardTable::Flag_HeaderVisible | CStandardTable::Flag_RowSelect | CStandardTable::Flag_AlternateRows;
}

CMessagePanel::CMessagePanel(int style, EQrTraderType, QWidget* parent)
    : ITradeDockableWidget(QStringLiteral("message_panel"), parent)
    , m_table(new CStandardTable(style, this, kTableFlags))
{
    const QStringList headers{QStringLiteral("时间"), QStringLiteral("类型"), QStringLiteral("内容")};
    m_table->setColumnCount(headers.size());
    for (int column = 0; column < headers.size(); ++column)
        m_table->setHeaderText(column, headers.at(column));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_table, 1);
}

void CMessagePanel::onTimer(int)
{
    // Messages come from the message service, which pushes them; the timer has nothing to pull.
    countTimer();
}
