#pragma once

#include "namelistdialog.h"

#include <string>
#include <vector>

/// @brief "订阅明细": subscribed codes with their instrument data, one numbered line each.
class CQuoterDetailDialog : public CNameListDialog
{
    Q_OBJECT
public:
    explicit CQuoterDetailDialog(QWidget* parent);

    /// Lists the codes in this order as "n__code__name__exchange"; a code the stock list does not
    /// know gets no line, and the numbering keeps its place.
    void setCodes(const std::vector<std::string>& codes);
};
