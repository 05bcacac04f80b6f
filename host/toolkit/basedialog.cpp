#include "basedialog.h"

CBaseDialog::CBaseDialog(QWidget* parent)
    : QDialog(parent)
    , CEventDeliverer(this)
{
}

void CBaseDialog::themeChanged()
{
    update();
}
