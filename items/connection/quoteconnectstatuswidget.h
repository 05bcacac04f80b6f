#pragma once

#include <statusbar/itemframe.h>
#include <statusbar/itembasewidget.h>

class CImageWidget;
class CSimpleTextWidget;

/**
 * @brief The quote source item: an icon, the number of connected quote sources and the label
 * "行情源". In lite form the label goes. A click or activation delivers event 1081.
 */
class CQuoteConnectStatusWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    explicit CQuoteConnectStatusWidget(QWidget* parent);

    /// Shows num connected sources; 0 shows the disconnected icon.
    void setQuoteConnectNum(int num);

    void switchToLite(bool lite) override;
    int getMaxWidth() override;
    int getMinWidth() override;
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

    CImageWidget* icon() const { return m_icon; }
    CSimpleTextWidget* label() const { return m_label; }
    CSimpleTextWidget* count() const { return m_count; }
    const CItemFrame& frame() const { return m_frame; }

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeChildren();

    CImageWidget* m_icon = nullptr;
    CSimpleTextWidget* m_label = nullptr;
    CSimpleTextWidget* m_count = nullptr;
    CItemFrame m_frame{this};
};
