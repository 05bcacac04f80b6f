#include "clienttipwidget.h"

#include <QEvent>
#include <QTimer>

namespace {
constexpr int kKeptLife = -1; // shown until hidden
constexpr int kFadeMs = 300;
const char kStartingText[] = "启动中...";
}

CClientTipWidget::CClientTipWidget(QWidget* owner)
    : CMessageTip(owner, kKeptLife, kFadeMs)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void CClientTipWidget::showStarting(QWidget* owner)
{
    setContent(QString::fromUtf8(kStartingText));
    setWidget(owner);
    if (owner && owner->isVisible()) {
        m_pending = false;
        showBesideWidget();
    } else {
        // Placed now it would point at wherever the unshown row happens to be.
        m_pending = true;
    }
}

void CClientTipWidget::setVisible(bool visible)
{
    // Hidden before its launcher showed: the start it announced is over.
    if (!visible)
        m_pending = false;
    CMessageTip::setVisible(visible);
}

bool CClientTipWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget()) {
        switch (event->type()) {
        case QEvent::Show:
            if (m_pending) {
                // The row lays itself out after the show; take the place once it has.
                QTimer::singleShot(0, this, [this] {
                    if (m_pending && widget() && widget()->isVisible()) {
                        m_pending = false;
                        showBesideWidget();
                    }
                });
            }
            break;
        case QEvent::Move:
            if (isVisible())
                move(getPoint(widget(), MessageTip_AboveLeft));
            break;
        default:
            break;
        }
    }
    return CMessageTip::eventFilter(watched, event);
}

void CClientTipWidget::showBesideWidget()
{
    move(getPoint(widget(), MessageTip_AboveLeft));
    show();
    raise();
}
