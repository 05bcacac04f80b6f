#pragma once

#include "namelistdialog.h"

#include <string>
#include <vector>

/// @brief "内存明细": the item names of one memory category, one per line.
class CMemDetailDialog : public CNameListDialog
{
    Q_OBJECT
public:
    explicit CMemDetailDialog(QWidget* parent);

    /// Shows these names, in this order, in place of the previous ones.
    void setItems(const std::vector<std::string>& names);
};
