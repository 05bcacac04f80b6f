#pragma once

#include "tradedockablewidget.h"

class CStandardTable;

/// @brief The terminal's message notices panel.
class TERMINALHOST_EXPORT CMessagePanel : public ITradeDockableWidget
{
    Q_OBJECT
public:
    CMessagePanel(int style, EQrTraderType traderType, QWidget* parent);
    void onTimer(int updateFlags) override;
    CStandardTable* table() const { return m_table; }

private:
    CStandardTable* m_table = nullptr;
};
