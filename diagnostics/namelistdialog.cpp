#include "namelistdialog.h"

#include <terminalhost/simpletextwidget.h>
#include <terminalhost/vscrollwidgetlist.h>

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 300;
}

CNameListDialog::CNameListDialog(const QString& title, QWidget* parent)
    : CCommonDialog(parent)
    , m_list(new CVScrollWidgetList(CVScrollWidgetList::Flag_ScrollBarAsNeeded, this))
{
    setInnerWidget(m_list);
    resize(kWidth, kHeight);
    setTitle(title);
    setAttribute(Qt::WA_DeleteOnClose, true);
}

void CNameListDialog::setLines(const QStringList& lines)
{
    m_list->clearWidgets(false);
    for (const QString& text : lines) {
        auto* line = new CSimpleTextWidget(false, 0, text, this);
        line->setFlag(CSimpleTextWidget::TextFlag_HoverBackground | CSimpleTextWidget::TextFlag_ElideRight);
        m_list->addWidget(line);
    }
}
