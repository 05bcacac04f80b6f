#include "messageview.h"

#include <terminalhost/msgservice.h>

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {
constexpr int kFollowMs = 1000;
constexpr int kWidth = 720;  // px
constexpr int kHeight = 420; // px
const char kObjectName[] = "message_view";

enum Column { ColTime, ColType, ColTitle, ColContent, ColumnCount };
}

CMessageView* CMessageView::showFor(QWidget* window)
{
    auto* view = window->findChild<CMessageView*>(QLatin1String(kObjectName), Qt::FindDirectChildrenOnly);
    if (!view)
        view = new CMessageView(window);
    view->show();
    view->raise();
    view->activateWindow();
    return view;
}

CMessageView::CMessageView(QWidget* parent)
    : QDialog(parent)
    , m_table(new QTableWidget(0, ColumnCount, this))
    , m_summary(new QLabel(this))
    , m_follow(new QTimer(this))
{
    setObjectName(QLatin1String(kObjectName));
    setWindowTitle(QStringLiteral("消息中心"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("时间"), QStringLiteral("类型"), QStringLiteral("标题"), QStringLiteral("内容")});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(ColContent, QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    resize(kWidth, kHeight);
    m_follow->setInterval(kFollowMs);
    connect(m_follow, &QTimer::timeout, this, &CMessageView::refill);
}

int CMessageView::rowCount() const
{
    return m_table->rowCount();
}

void CMessageView::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    refill();
    m_follow->start();
}

void CMessageView::hideEvent(QHideEvent* event)
{
    m_follow->stop();
    QDialog::hideEvent(event);
}

void CMessageView::refill()
{
    const QStringList typeNames = CMsgService::messageTypeNames();
    std::vector<CMessagePtr> messages;
    for (int type = 0; type < typeNames.size(); ++type) {
        const std::vector<CMessagePtr> ofType = CMsgService::instance()->getMessages(type);
        messages.insert(messages.end(), ofType.begin(), ofType.end());
    }
    std::stable_sort(messages.begin(), messages.end(),
                     [](const CMessagePtr& a, const CMessagePtr& b) { return a->timeMs() > b->timeMs(); });
    // Nothing new since the last fill: the list stays as the user scrolled it. The service keeps a
    // bounded number per type, so the count alone may stand still while messages arrive.
    const CMessagePtr newest = messages.empty() ? nullptr : messages.front();
    if (messages.size() == m_shownTotal && newest == m_shownNewest)
        return;
    m_shownTotal = messages.size();
    m_shownNewest = newest;
    m_table->setRowCount(static_cast<int>(messages.size()));
    for (int row = 0; row < static_cast<int>(messages.size()); ++row) {
        const CMessage& message = *messages[static_cast<std::size_t>(row)];
        const QString typeName = message.type() >= 0 && message.type() < typeNames.size() ? typeNames.at(message.type())
                                                                                          : QString::number(message.type());
        const QString cells[ColumnCount] = {
            QDateTime::fromMSecsSinceEpoch(message.timeMs()).toString(QStringLiteral("MM-dd HH:mm:ss")), typeName,
            QString::fromStdString(message.title()), QString::fromStdString(message.content())};
        for (int column = 0; column < ColumnCount; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_summary->setText(QStringLiteral("%1 条消息").arg(messages.size()));
}
