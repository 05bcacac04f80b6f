#include "memdetaildialog.h"

#include <terminalhost/hostutils.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/vscrollwidgetlist.h>

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 300;
}

CMemDetailDialog::CMemDetailDialog(QWidget* parent)
    : CCommonDialog(parent)
    , m_list(new CVScrollWidgetList(CVScrollWidgetList::Flag_ScrollBarAsNeeded, this))
{
    setInnerWidget(m_list);
    resize(kWidth, kHeight);
    setTitle(QStringLiteral("内存明细"));
    setAttribute(Qt::WA_DeleteOnClose, true);
}

void CMemDetailDialog::setItems(const std::vector<std::string>& names)
{
    m_list->clearWidgets(false);
    for (const std::string& name : names) {
        auto* line = new CSimpleTextWidget(false, 0, sToQs(name), this);
        line->setFlag(CSimpleTextWidget::TextFlag_HoverBackground | CSimpleTextWidget::TextFlag_ElideRight);
        m_list->addWidget(line);
    }
}
