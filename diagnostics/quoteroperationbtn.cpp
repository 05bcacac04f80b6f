#include "quoteroperationbtn.h"

#include <statusbar/statusbarevents.h>

#include <terminalhost/smallnormalbutton.h>

namespace {
constexpr int kBorderedStyle = 1; // CSmallNormalButton's plain bordered look
}

CQuoterOperationBtn::CQuoterOperationBtn(int quoteType, int codeList, int count, QWidget* parent)
    : CWidgetList(Qt::Horizontal, parent)
    , m_quoteType(quoteType)
    , m_codeList(codeList)
{
    auto* button = new CSmallNormalButton(codeList, false, kBorderedStyle, this);
    button->setText(QString::number(count));
    // A table cell places its widget by its own size.
    setFixedSize(button->size());
    addFixedWidget(button, Anchor_Fill, true);
}

bool CQuoterOperationBtn::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == Event_Activate) {
        deliverEvent(StatusBarEvent::QuoterCodes, m_quoteType, m_codeList, text, data);
        return true;
    }
    return CWidgetList::handleEvent(type, id, arg, text, data);
}
