#include "memoperationmultibtn.h"

#include <statusbar/statusbarevents.h>

#include <terminalhost/smallnormalbutton.h>

#include <algorithm>

namespace {
constexpr int kButtonGap = 3;       // px between the two buttons
constexpr int kBorderedStyle = 1;   // CSmallNormalButton's plain bordered look
}

CMemOperationMultiBtn::CMemOperationMultiBtn(int rowId, QWidget* parent)
    : CWidgetList(Qt::Horizontal, parent)
    , m_rowId(rowId)
{
    auto* details = new CSmallNormalButton(MemOperation_Details, false, kBorderedStyle, this);
    details->setText(QStringLiteral("详细"));
    auto* remove = new CSmallNormalButton(MemOperation_Delete, false, kBorderedStyle, this);
    remove->setText(QStringLiteral("删除"));
    // A table cell places its widget by its own size: the two buttons and the gap between them.
    setFixedSize(details->width() + kButtonGap + remove->width(), std::max(details->height(), remove->height()));
    addFixedWidget(details, Anchor_Fill, true);
    addFixedSpace(kButtonGap);
    addFixedWidget(remove, Anchor_Fill, true);
}

bool CMemOperationMultiBtn::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == Event_Activate) {
        deliverEvent(StatusBarEvent::MemoryOperation, m_rowId, id, text, data);
        return true;
    }
    return CWidgetList::handleEvent(type, id, arg, text, data);
}
