#pragma once

#include <terminalhost/messagetip.h>

/**
 * @brief The "启动中..." note a companion launcher keeps above its icon while the companion starts.
 *
 * It stays until hidden and is kept for reuse: hiding or closing it leaves it to the next start.
 * Asked to show beside a launcher that is not on screen yet (the bar starts the resident mini quote
 * client while it is still being built), it waits until the launcher shows and the row is laid out,
 * then takes its place. While shown it follows the launcher along the row.
 */
class CClientTipWidget : public CMessageTip
{
    Q_OBJECT
public:
    explicit CClientTipWidget(QWidget* owner);

    /// Shows "启动中..." above owner until the tip is hidden.
    void showStarting(QWidget* owner);
    /// True while the tip waits for its launcher to show.
    bool isPending() const { return m_pending; }

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showBesideWidget();

    bool m_pending = false;
};
