#include "messagepanel.h"

CMessagePanel::CMessagePanel(int, EQrTraderType, QWidget* parent)
    : CRecordListPanel(QStringLiteral("message_panel"), {QStringLiteral("时间"), QStringLiteral("类型"), QStringLiteral("内容")}, parent)
{
}

void CMessagePanel::onTimer(int)
{
    // Messages come from the message service, which pushes them; the timer has nothing to pull.
    countTimer();
}
