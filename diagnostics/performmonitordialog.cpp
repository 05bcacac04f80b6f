#include "performmonitordialog.h"

#include <statusbar/memanalysisdialog.h>
#include <statusbar/objectnummonitordialog.h>
#include <statusbar/quoteranalysisdialog.h>

#include <terminalhost/standardtabcontrol.h>
#include <terminalhost/userconfig.h>
#include <terminalhost/widgetlist.h>

namespace {
constexpr int kWidth = 950;
constexpr int kHeight = 450;
}

CPerformMonitorDialog::CPerformMonitorDialog(QWidget* parent)
    : CCommonDialog(parent)
{
    createUi();
    setTitle(QStringLiteral("性能监控"));
    resize(kWidth, kHeight);
    setAttribute(Qt::WA_DeleteOnClose, true);
}

void CPerformMonitorDialog::createUi()
{
    auto* content = new CWidgetList(Qt::Vertical, this);
    content->setMargin(0, 0, 0, 0);
    content->setSpacing(0);
    m_tabs = new CStandardTabControl(content);
    content->addStretchWidget(m_tabs, 1, Anchor_Fill, false);
    if (!getUserConfig()->isVarnoClientMode())
        m_tabs->addTabWidget(QStringLiteral("行情监控"), new CQuoterAnalysisDialog(m_tabs));
    m_tabs->addTabWidget(QStringLiteral("对象数量监控"), new CObjectNumMonitorDialog(m_tabs));
    m_tabs->addTabWidget(QStringLiteral("内存管理器"), new CMemAnalysisDialog(m_tabs));
    setInnerWidget(content);
}
