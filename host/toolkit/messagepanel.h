#pragma once

#include <terminalhost/recordlistpanel.h>

/// @brief The terminal's message notices panel.
class TERMINALHOST_EXPORT CMessagePanel : public CRecordListPanel
{
    Q_OBJECT
public:
    CMessagePanel(int style, EQrTraderType traderType, QWidget* parent);
    void onTimer(int updateFlags) override;
};
