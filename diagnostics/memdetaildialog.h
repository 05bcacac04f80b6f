#pragma once

#include <terminalhost/commondialog.h>

#include <string>
#include <vector>

class CVScrollWidgetList;

/**
 * @brief "内存明细": the item names of one memory category, one per line. Made per request; it
 * deletes itself when closed.
 */
class CMemDetailDialog : public CCommonDialog
{
    Q_OBJECT
public:
    explicit CMemDetailDialog(QWidget* parent);

    /// Shows these names, in this order, in place of the previous ones.
    void setItems(const std::vector<std::string>& names);

private:
    CVScrollWidgetList* m_list = nullptr;
};
