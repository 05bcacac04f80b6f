#pragma once

#include <terminalhost/commondialog.h>

class CVScrollWidgetList;

/**
 * @brief A diagnostics detail dialog: a titled list of names, one per line (CMemDetailDialog,
 * CQuoterDetailDialog). Made per request; it deletes itself when closed.
 */
class CNameListDialog : public CCommonDialog
{
    Q_OBJECT
public:
    CNameListDialog(const QString& title, QWidget* parent);

    /// Shows these lines, in this order, in place of the previous ones.
    void setLines(const QStringList& lines);

private:
    CVScrollWidgetList* m_list = nullptr;
};
