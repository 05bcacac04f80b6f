#include "basedialog.h"

#include <QShortcut>

CBaseDialog::CBaseDialog(QWidget* parent)
    : QDialog(parent)
    , CEventDeliverer(this)
{
    // QDialog hears Escape only when the focused child lets the key through; an embedded page or
    // a table takes every key. A shortcut of the window closes it whatever has the focus.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QDialog::reject);
}

void CBaseDialog::themeChanged()
{
    update();
}
