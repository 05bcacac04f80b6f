#include "imagewidget.h"

#include <terminalhost/uiresource.h>

#include <QPainter>

#include <algorithm>

CImageWidget::CImageWidget(int stateCount, const QString& imageKey, QWidget* parent)
    : CBaseWidget(QStringLiteral("image_widget"), false, parent)
    , m_stateCount(stateCount)
    , m_imageKey(imageKey)
{
    fitToImage();
}

void CImageWidget::setImage(const QString& imageKey)
{
    if (imageKey == m_imageKey)
        return;
    m_imageKey = imageKey;
    fitToImage();
    update();
}

void CImageWidget::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    update();
}

void CImageWidget::themeChanged()
{
    fitToImage();
    update();
}

void CImageWidget::fitToImage()
{
    const QSize natural = CUiResource::instance()->getImageSize(m_imageKey);
    const int frames = std::max(1, m_stateCount);
    resize(natural.width() / frames, natural.height());
}

void CImageWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    CUiResource::instance()->drawImage(&painter, m_imageKey, rect(), m_state, std::max(1, m_stateCount));
}
