#include "runningcstrategywidget.h"

#include "strategyrunningdialog.h"

#include <hostutils.h>
#include <simpletext.h>
#include <simpletextwidget.h>
#include <strategytrademanager.h>

#include <QMetaType>

namespace {
const char kObjectName[] = "running_cstrategy_widget";
const char kFullCaption[] = " 执行中策略: ";
const char kLiteCaption[] = " 策略: ";
const char kLabelFont[] = "fnt_default_normal_fix";
const char kLabelColor[] = "clr_text_default";
const char kCounterFont[] = "fnt_default_normal_heavy_fix";
const char kCounterColor[] = "clr_global_rise";
constexpr int kMaxTextWidth = 100000; // px; texts are never cut
constexpr int kLabelX = 10;
constexpr int kCounterGap = 12;   // px from the label's width to the counter's x
constexpr int kFullExtra = 12;    // px the full form adds to its two texts
constexpr int kLiteExtra = 14;    // px the compact form adds to its two texts
constexpr int kEventClick = 10;
}

CRunningCStrategyWidget::CRunningCStrategyWidget(QWidget* parent)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
{
    setObjectName(QLatin1String(kObjectName));

    m_label = new CSimpleTextWidget(true, 0, QString::fromUtf8(kFullCaption), this);
    m_label->setFontKey(QLatin1String(kLabelFont));
    m_label->setColorKey(QLatin1String(kLabelColor));
    m_counter = new CSimpleTextWidget(true, 0, QStringLiteral("0"), this);
    m_counter->setFontKey(QLatin1String(kCounterFont));
    m_counter->setColorKey(QLatin1String(kCounterColor));

    m_dialog = new CStrategyRunningDialog(this);
    m_dialog->hide();

    connect(m_dialog, &CStrategyRunningDialog::sigStrategyRemove, this, &CRunningCStrategyWidget::slotStrategyRemove);
    connect(CStrategyTradeManager::instance(), &CStrategyTradeManager::sigProcessStatus, this,
            &CRunningCStrategyWidget::slotsProcessStatus);
    resize(getMaxWidth(), height());
}

CRunningCStrategyWidget::~CRunningCStrategyWidget()
{
    disconnect();
    CStrategyTradeManager::instance()->disconnect(this);
    m_dialog->disconnect(this);
    m_runningIds.clear();
}

void CRunningCStrategyWidget::slotsProcessStatus(const std::string& requestId, const std::string& name, bool running)
{
    const QString id = sToQs(requestId);
    if (running) {
        m_dialog->addStrategy(id, sToQs(name));
        m_runningIds.insert(id);
    } else {
        m_runningIds.remove(id);
        m_dialog->removeStrategy(id);
    }
    updateCount(m_runningIds.size());
}

void CRunningCStrategyWidget::slotStrategyRemove(const QString& requestId)
{
    // The counter stays until the manager reports the process ended.
    if (!m_runningIds.remove(requestId))
        return;
    CStrategyTradeManager::instance()->stopStrategyProcess(requestId);
}

void CRunningCStrategyWidget::updateCount(int count)
{
    const int before = m_counter->width();
    const QString text = QStringLiteral("%1").arg(count);
    m_counter->setText(text, kMaxTextWidth);
    const int after = CSimpleText::getSize(text, QLatin1String(kCounterFont)).width();
    m_counter->setFixedWidth(after);
    if (after > before)
        emit sigResizeRunningStrategySize();
    resize(getMaxWidth(), height());
    layoutChildren();
}

void CRunningCStrategyWidget::switchToLite(bool lite)
{
    setCaption(QString::fromUtf8(lite ? kLiteCaption : kFullCaption));
}

int CRunningCStrategyWidget::getMaxWidth()
{
    setCaption(QString::fromUtf8(kFullCaption));
    return m_label->width() + m_counter->width() + kFullExtra;
}

int CRunningCStrategyWidget::getMinWidth()
{
    setCaption(QString::fromUtf8(kLiteCaption));
    return m_label->width() + m_counter->width() + kLiteExtra;
}

bool CRunningCStrategyWidget::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == kEventClick) {
        m_dialog->show();
        m_dialog->raise();
        return true;
    }
    return CItemBaseWidget::handleEvent(type, id, arg, text, data);
}

void CRunningCStrategyWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
    layoutChildren();
}

void CRunningCStrategyWidget::setCaption(const QString& caption)
{
    if (caption == m_label->getText())
        return;
    m_label->setText(caption, kMaxTextWidth);
    // The width may not change with the caption, so no resize would move the counter.
    layoutChildren();
}

void CRunningCStrategyWidget::layoutChildren()
{
    m_label->move(kLabelX, (height() - m_label->height()) / 2);
    m_counter->move(m_label->width() + kCounterGap, (height() - m_counter->height()) / 2);
}
