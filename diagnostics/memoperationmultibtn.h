#pragma once

#include <terminalhost/widgetlist.h>

/**
 * @brief The two buttons of a memory manager row, "详细" and "删除". A click on either goes up as
 * event 1266 (StatusBarEvent::MemoryOperation) with the row id and the button's id
 * (EMemOperation), for the page to act on.
 */
class CMemOperationMultiBtn : public CWidgetList
{
    Q_OBJECT
public:
    /// The buttons' ids, the arg of the event.
    enum EMemOperation {
        MemOperation_Details = 0,
        MemOperation_Delete = 1,
    };

    CMemOperationMultiBtn(int rowId, QWidget* parent);

    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

private:
    int m_rowId = 0;
};
