#include "quoterdetaildialog.h"

#include <terminalhost/hostutils.h>
#include <terminalhost/stockmanager.h>

CQuoterDetailDialog::CQuoterDetailDialog(QWidget* parent)
    : CNameListDialog(QStringLiteral("订阅明细"), parent)
{
}

void CQuoterDetailDialog::setCodes(const std::vector<std::string>& codes)
{
    const CStockManager* stocks = CStockManager::instance();
    QStringList lines;
    int position = 0;
    for (const std::string& code : codes) {
        ++position;
        if (const CInstrumentDetailPtr detail = stocks->getInstrumentDetail(sToQs(code)))
            lines << QStringLiteral("%1__%2__%3__%4").arg(QString::number(position), sToQs(detail->code), sToQs(detail->name), sToQs(detail->exchange));
    }
    setLines(lines);
}
