#pragma once

#include <terminalhost/recordlistpanel.h>

/**
 * @brief The terminal's orders panel: the orders of the shown accounts, all of them or only those
 * still running.
 */
class TERMINALHOST_EXPORT COrdersPanel : public CRecordListPanel
{
    Q_OBJECT
public:
    COrdersPanel(int style, EQrTraderType traderType, QWidget* parent);

    void onTimer(int updateFlags) override;
};
