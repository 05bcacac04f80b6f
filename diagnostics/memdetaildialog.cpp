#include "memdetaildialog.h"

#include <terminalhost/hostutils.h>

CMemDetailDialog::CMemDetailDialog(QWidget* parent)
    : CNameListDialog(QStringLiteral("内存明细"), parent)
{
}

void CMemDetailDialog::setItems(const std::vector<std::string>& names)
{
    QStringList lines;
    for (const std::string& name : names)
        lines << sToQs(name);
    setLines(lines);
}
