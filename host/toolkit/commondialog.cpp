#include "commondialog.h"

#include <terminalhost/uiresource.h>

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
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

void CCommonDialog::showEvent(QShowEvent* event)
{
    QScreen* screen = event->spontaneous() ? nullptr : openingScreen();
    if (screen)
        fitInto(screen->availableGeometry());
    // QDialog centres the dialog on its owner here, unless the owner placed it.
    CBaseDialog::showEvent(event);
    if (screen)
        placeOn(screen->availableGeometry());
}

QScreen* CCommonDialog::openingScreen() const
{
    if (const QWidget* owner = parentWidget())
        return owner->window()->screen();
    if (QScreen* underPointer = QGuiApplication::screenAt(QCursor::pos()))
        return underPointer;
    return screen();
}

QSize CCommonDialog::frameExtent() const
{
    const QSize own = frameGeometry().size() - size();
    if (!own.isNull() || !parentWidget())
        return own;
    const QWidget* owner = parentWidget()->window();
    return owner->frameGeometry().size() - owner->size();
}

void CCommonDialog::fitInto(const QRect& available)
{
    if (size() != m_fittedSize)
        m_writtenSize = size();
    const QSize fitted = m_writtenSize.boundedTo(available.size() - frameExtent());
    // A fixed or minimum size larger than the screen gives way too, or the far side stays unreachable.
    if (fitted.width() < minimumWidth() || fitted.height() < minimumHeight())
        setMinimumSize(minimumSize().boundedTo(fitted));
    resize(fitted);
    m_fittedSize = size();
}

void CCommonDialog::placeOn(const QRect& available)
{
    const QRect frame = frameGeometry();
    const int x = qBound(available.left(), frame.left(), available.right() + 1 - frame.width());
    const int y = qBound(available.top(), frame.top(), available.bottom() + 1 - frame.height());
    if (x == frame.left() && y == frame.top())
        return;
    // Moving marks the dialog as placed by its owner, which would stop QDialog centring it next time.
    const bool placedByOwner = testAttribute(Qt::WA_Moved);
    move(x, y);
    setAttribute(Qt::WA_Moved, placedByOwner);
}
