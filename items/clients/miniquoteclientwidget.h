#pragma once

#include <statusbar/otherclientwidget.h>

/**
 * @brief The launcher of the mini quote client (client type 2): an icon in the status bar.
 *
 * A left press starts the client through the multi-client manager, every time. While it starts, the
 * launcher's own "启动中..." tip stays above the icon until a companion is up. When the client
 * already runs, a short "miniQuote正在运行" shows and the client's signal file is truncated, which
 * wakes the running client; a client that stopped answering is started anew instead. The launcher
 * remembers whether the manager ever reported the client woken (sigKPXAwaken); only then does the
 * status bar end the client when the terminal closes.
 */
class CMiniQuoteClientWidget : public COtherClientWidget
{
    Q_OBJECT
public:
    explicit CMiniQuoteClientWidget(QWidget* parent);

    /// Starts the mini quote client as type: 2 is the user's start (a press), which also wakes a
    /// running client; 7 is the resident start the status bar makes when it is built, which leaves a
    /// running client alone.
    void startClient(EClinetType type);
    /// True once the manager reported the mini quote client woken; it never turns false.
    bool isAwakened() const { return m_awakened; }
    /// Ends the companion of type through the manager.
    void killClient(EClinetType type);

    /// The launcher's own starting tip; null until a start needed it.
    CClientTipWidget* miniQuoteTip() const { return m_miniQuoteTip; }

public slots:
    /// A companion is up: the launcher's own starting tip goes.
    void slotOtherClientComplete();
    void slotKPXAwaken();

protected:
    void startOnPress() override;
    bool launches(EClinetType type) const override;
    void hideStartingTip() override;

private:
    CClientTipWidget* m_miniQuoteTip = nullptr;
    bool m_awakened = false;
};
