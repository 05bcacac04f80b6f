#include "quotesourcedialog.h"

#include <terminalhost/quoteclient.h>
#include <terminalhost/uiresource.h>

#include <QLabel>
#include <QVBoxLayout>

namespace {
// The sources the simulated terminal is configured with, in the order they connect.
const char* const kSources[] = {"上海行情主站", "深圳行情主站", "期货行情主站", "行情备用站"};
constexpr int kSourceCount = static_cast<int>(sizeof(kSources) / sizeof(kSources[0]));
constexpr int kMinDialogWidth = 260; // px at scale 1
}

CQuoteSourceDialog::CQuoteSourceDialog(QWidget* parent)
    : CCommonDialog(parent)
{
    setTitle(QStringLiteral("行情源连接"));
    auto* inner = new QWidget;
    auto* layout = new QVBoxLayout(inner);
    layout->setContentsMargins(12, 10, 12, 12);
    m_summary = new QLabel(inner);
    m_sources = new QLabel(inner);
    m_sources->setTextFormat(Qt::RichText);
    layout->addWidget(m_summary);
    layout->addWidget(m_sources);
    setInnerWidget(inner);
    setMinimumWidth(static_cast<int>(kMinDialogWidth * CUiResource::instance()->getUIScale()));

    connect(CQuoteClient::instance(), &CQuoteClient::sigQuoteConnectNum, this, &CQuoteSourceDialog::showCount);
    applyTextColour();
    showCount(CQuoteClient::instance()->quoteConnectNum());
}

void CQuoteSourceDialog::showCount(int count)
{
    const CUiResource* resource = CUiResource::instance();
    m_summary->setText(QStringLiteral("已连接行情源: %1 / %2    行情交易连接: %3")
                           .arg(count)
                           .arg(kSourceCount)
                           .arg(isHasQuoteTradeConnect() ? QStringLiteral("正常") : QStringLiteral("断开")));
    QStringList lines;
    for (int i = 0; i < kSourceCount; ++i) {
        const bool up = i < count;
        const QColor color =
            resource->getColor(up ? QStringLiteral("ic_clr_quotetrade_sucess_bg") : QStringLiteral("ic_clr_quotetrade_fail_bg"));
        lines << QStringLiteral("%1 &nbsp; <span style=\"color:%2\">%3</span>")
                     .arg(QString::fromUtf8(kSources[i]), color.name(), up ? QStringLiteral("已连接") : QStringLiteral("未连接"));
    }
    m_sources->setText(lines.join(QStringLiteral("<br>")));
}

void CQuoteSourceDialog::themeChanged()
{
    CCommonDialog::themeChanged();
    applyTextColour();
    showCount(CQuoteClient::instance()->quoteConnectNum());
}

void CQuoteSourceDialog::applyTextColour()
{
    const QString textColor = CUiResource::instance()->getColor(QStringLiteral("clr_dialog_title_text")).name();
    m_summary->setStyleSheet(QStringLiteral("color: %1;").arg(textColor));
    m_sources->setStyleSheet(QStringLiteral("color: %1;").arg(textColor));
}
