#include "noticeinfoitemdialog.h"

#include <terminalhost/textedit.h>
#include <terminalhost/uiresource.h>

namespace {
const char kTitle[] = "公告";
constexpr int kTextStyle = 0;
}

CNoticeInfoItemDialog::CNoticeInfoItemDialog(QWidget* parent)
    : CCommonDialog(parent)
{
    m_textEdit = new CTextEdit(kTextStyle, this, false, false);
    setInnerWidget(m_textEdit);
    setTitle(QString::fromUtf8(kTitle));
    const CUiResource* resource = CUiResource::instance();
    setMinimumSize(resource->getSize(QStringLiteral("tc_siz_information_widget_width")),
                   resource->getSize(QStringLiteral("tc_siz_information_widget_height")));
    resize(resource->getSize(QStringLiteral("tc_siz_mainwindow_width_min")),
           resource->getSize(QStringLiteral("tc_siz_mainwindow_height_min")));
}
