#include "eventlog.h"

#include <statusbar/statusbarevents.h>
#include <terminalhost/eventdeliverer.h>
#include <terminalhost/indexbottomquoterwidget.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTime>
#include <QVBoxLayout>

namespace {
constexpr int kMaxRows = 1000; // oldest rows go first; a long run must not grow without end

enum Column { ColTime, ColType, ColId, ColArg, ColText, ColMeaning, ColumnCount };

struct EventName {
    int type;
    const char* name;
};
const EventName kEventNames[] = {
    {Event_ToolTip, "tooltip wanted"},
    {Event_Activate, "activation"},
    {Event_Click, "click on an item or a text"},
    {Event_UiScale, "UI scale"},
    {Event_TableCellClick, "table cell click"},
    {StatusBarEvent::OpenOrderService, "open an order service"},
    {StatusBarEvent::QuoteSources, "quote sources"},
    {StatusBarEvent::RunningOrders, "running orders"},
    {StatusBarEvent::RunningTasks, "running tasks"},
    {StatusBarEvent::Messages, "messages"},
    {StatusBarEvent::TradeToolTip, "trade account tooltip"},
    {Event_OpenQuoteView, "open the index's quote view (double click on the index ticker)"},
};
}

CEventLog::CEventLog(QWidget* parent)
    : QWidget(parent)
    , m_table(new QTableWidget(0, ColumnCount, this))
    , m_count(new QLabel(this))
{
    m_table->setHorizontalHeaderLabels({QStringLiteral("时间"), QStringLiteral("type"), QStringLiteral("id"),
                                        QStringLiteral("arg"), QStringLiteral("text"), QStringLiteral("meaning")});
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(ColText, QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);

    auto* clearButton = new QPushButton(QStringLiteral("Clear"), this);
    connect(clearButton, &QPushButton::clicked, this, &CEventLog::clear);

    auto* header = new QHBoxLayout;
    header->addWidget(m_count, 1);
    header->addWidget(clearButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(header);
    layout->addWidget(m_table, 1);
    clear();
}

QString CEventLog::eventName(int type)
{
    for (const EventName& entry : kEventNames) {
        if (entry.type == type)
            return QString::fromLatin1(entry.name);
    }
    return {};
}

void CEventLog::addEvent(int type, int id, int arg, const QString& text, bool handled)
{
    ++m_eventCount;
    QString meaning = eventName(type);
    if (!handled)
        meaning += meaning.isEmpty() ? QStringLiteral("(not consumed)") : QStringLiteral(" (not consumed)");
    addRow({QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")), QString::number(type), QString::number(id),
            QString::number(arg), text, meaning});
}

void CEventLog::addNote(const QString& text)
{
    addRow({QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")), QStringLiteral("—"), QString(), QString(), text,
            QStringLiteral("demo")});
}

void CEventLog::addRow(const QStringList& cells)
{
    if (m_table->rowCount() >= kMaxRows)
        m_table->removeRow(0);
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    for (int column = 0; column < ColumnCount && column < cells.size(); ++column)
        m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    m_table->scrollToBottom();
    m_count->setText(QStringLiteral("%1 bus events reached the main window").arg(m_eventCount));
}

void CEventLog::clear()
{
    m_table->setRowCount(0);
    m_eventCount = 0;
    m_count->setText(QStringLiteral("No bus event has reached the main window yet"));
}

int CEventLog::rowCount() const
{
    return m_table->rowCount();
}
