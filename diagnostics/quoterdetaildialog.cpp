#include "quoterdetaildialog.h"

#include <terminalhost/hostutils.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/stockmanager.h>
#include <terminalhost/vscrollwidgetlist.h>

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 300;
}

CQuoterDetailDialog::CQuoterDetailDialog(QWidget* parent)
    : CCommonDialog(parent)
    , m_list(new CVScrollWidgetList(CVScrollWidgetList::Flag_ScrollBarAsNeeded, this))
{
    setInnerWidget(m_list);
    resize(kWidth, kHeight);
    setTitle(QStringLiteral("订阅明细"));
    setAttribute(Qt::WA_DeleteOnClose, true);
}

void CQuoterDetailDialog::setCodes(const std::vector<std::string>& codes)
{
    m_list->clearWidgets(false);
    const CStockManager* stocks = CStockManager::instance();
    int position = 0;
    for (const std::string& code : codes) {
        ++position;
        const CInstrumentDetailPtr detail = stocks->getInstrumentDetail(sToQs(code));
        if (!detail)
            continue;
        const QString line = QStringLiteral("%1__%2__%3__%4")
                                 .arg(QString::number(position), sToQs(detail->code), sToQs(detail->name), sToQs(detail->exchange));
        auto* text = new CSimpleTextWidget(false, 0, line, this);
        text->setFlag(CSimpleTextWidget::TextFlag_HoverBackground | CSimpleTextWidget::TextFlag_ElideRight);
        m_list->addWidget(text);
    }
}
