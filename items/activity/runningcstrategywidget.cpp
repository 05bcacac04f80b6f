#include "runningcstrategywidget.h"

#include <statusbar/strategyrunningdialog.h>

#include <terminalhost/hostutils.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/strategytrademanager.h>


namespace {
const char kObjectName[] = "running_cstrategy_widget";
const char kFullCaption[] = " 执行中策略: ";
const char kLiteCaption[] = " 策略: ";
constexpr int kLabelX = 10;
constexpr int kCounterGap = 12;   // px from the label's width to the counter's x
constexpr int kFullExtra = 12;    // px the full form adds to its two texts
constexpr int kLiteExtra = 14;    // px the compact form adds to its two texts
}

CRunningCStrategyWidget::CRunningCStrategyWidget(QWidget* parent)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_texts(QString::fromUtf8(kFullCaption), QString::fromUtf8(kLiteCaption), this)
{
    setObjectName(QLatin1String(kObjectName));

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
    if (m_texts.showCount(count))
        emit sigResizeRunningStrategySize();
    resize(getMaxWidth(), height());
    layoutChildren();
}

void CRunningCStrategyWidget::switchToLite(bool lite)
{
    setCaption(lite);
}

int CRunningCStrategyWidget::getMaxWidth()
{
    setCaption(false);
    return m_texts.textWidth() + kFullExtra;
}

int CRunningCStrategyWidget::getMinWidth()
{
    setCaption(true);
    return m_texts.textWidth() + kLiteExtra;
}

bool CRunningCStrategyWidget::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == Event_Click) {
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

void CRunningCStrategyWidget::setCaption(bool lite)
{
    const QString before = m_texts.label()->getText();
    m_texts.showCaption(lite);
    if (m_texts.label()->getText() == before)
        return;
    // The width may not change with the caption, so no resize would move the counter.
    layoutChildren();
}

void CRunningCStrategyWidget::layoutChildren()
{
    CSimpleTextWidget* label = m_texts.label();
    label->move(kLabelX, (height() - label->height()) / 2);
    m_texts.counter()->move(label->width() + kCounterGap, (height() - m_texts.counter()->height()) / 2);
}
