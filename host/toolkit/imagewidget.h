#pragma once

#include <terminalhost/basewidget.h>

/**
 * @brief An SVG image from the theme at its natural size.
 *
 * A state count above 1 means the image holds that many frames side by side, and setState picks
 * the one shown; 0 or 1 means a single image.
 */
class TERMINALHOST_EXPORT CImageWidget : public CBaseWidget
{
    Q_OBJECT
public:
    CImageWidget(int stateCount, const QString& imageKey, QWidget* parent);

    /// Shows another image and takes its natural size.
    void setImage(const QString& imageKey);
    QString imageKey() const { return m_imageKey; }
    void setState(int state);
    int state() const { return m_state; }

    void themeChanged() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    /// An image in a row is a separator or an icon: nothing to activate.
    bool isTabStopInList() const override { return false; }

private:
    void fitToImage();

    int m_stateCount = 0;
    int m_state = 0;
    QString m_imageKey;
};
