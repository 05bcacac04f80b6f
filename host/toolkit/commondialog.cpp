#include "commondialog.h"

#include <terminalhost/uiresource.h>

#include <QLabel>
#include <QVBoxLayout>

CCommonDialog::CCommonDialog(QWidget* parent)
    : CBaseDialog(parent)
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(QStringLiteral("common_dialog_title"));
    m_titleLabel->setContentsMargins(10, 0, 10, 0);
    m_titleLabel->setFixedHeight(30);
    m_layout->addWidget(m_titleLabel);
    m_layout->addStretch(1);
    applyTheme();
}

void CCommonDialog::setTitle(const QString& title)
{
    setWindowTitle(title);
    m_titleLabel->setText(title);
}

QString CCommonDialog::title() const
{
    return m_titleLabel->text();
}

void CCommonDialog::setInnerWidget(QWidget* widget)
{
    if (widget == m_inner)
        return;
    delete m_inner;
    m_inner = widget;
    // Index 1 is the stretch placeholder, or the previous inner widget's slot.
    QLayoutItem* placeholder = m_layout->takeAt(1);
    delete placeholder;
    if (m_inner)
        m_layout->insertWidget(1, m_inner, 1);
    else
        m_layout->addStretch(1);
}

void CCommonDialog::themeChanged()
{
    applyTheme();
}

void CCommonDialog::applyTheme()
{
    const CUiResource* resource = CUiResource::instance();
    m_titleLabel->setFont(resource->getFont(QStringLiteral("fnt_dialog_title")));
    setStyleSheet(QStringLiteral("CCommonDialog { background: %1; } QLabel#common_dialog_title { background: %2; color: %3; }")
                      .arg(resource->getColor(QStringLiteral("clr_dialog_background")).name(),
                           resource->getColor(QStringLiteral("clr_dialog_title_background")).name(),
                           resource->getColor(QStringLiteral("clr_dialog_title_text")).name()));
}
