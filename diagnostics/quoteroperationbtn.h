#pragma once

#include <terminalhost/widgetlist.h>

/**
 * @brief A count of subscribed codes on the quote monitor, as a button. A click goes up as event
 * 1000 (StatusBarEvent::QuoterCodes) with the quote source type and which codes it counts
 * (ECodeList), for the page to list them.
 */
class CQuoterOperationBtn : public CWidgetList
{
    Q_OBJECT
public:
    /// Which of a quote source type's code lists a count is of; the arg of the event.
    enum ECodeList {
        CodeList_Single = 0,   ///< codes subscribed one by one
        CodeList_FullPush = 1, ///< codes taken from the full push
    };

    CQuoterOperationBtn(int quoteType, int codeList, int count, QWidget* parent);

    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

private:
    int m_quoteType = 0;
    int m_codeList = CodeList_Single;
};
