#pragma once

#include <statusbar/statusbar_export.h>

#include <statusbar/itembasewidget.h>

#include <QPointer>

#include <memory>

class CAdviceFeedBackDialog;
class CImageWidget;
class CItemFrame;
class CSimpleTextWidget;

/**
 * @brief The customer-service button of the status bar: an icon and "客服".
 *
 * A left click opens the terminal's feedback dialog, or, for a user with the right to the web
 * feedback, the installation's feedback address in the desktop browser. screenCapture() starts a
 * report with a picture of the terminal's main window. The compact form keeps only the icon.
 */
class STATUSBAR_EXPORT CClientFeedBackWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    /// dialogParent: the window the feedback dialog belongs to and is centred against; may be null.
    explicit CClientFeedBackWidget(QWidget* parent = nullptr, QWidget* dialogParent = nullptr);
    ~CClientFeedBackWidget() override;

    /// Opens the feedback dialog with a picture of the terminal's main window, centred on the screen.
    void screenCapture();

    /// true: only the icon; false: the icon and "客服".
    void switchToLite(bool lite) override;
    /// Icon width + label width + 21.
    int getMaxWidth() override;
    /// Icon width + 15.
    int getMinWidth() override;

    /// The feedback dialog; null until a click or a capture needed it.
    CAdviceFeedBackDialog* dialog() const;
    CImageWidget* icon() const { return m_icon; }
    CSimpleTextWidget* label() const { return m_label; }
    const CItemFrame& frame() const;

protected:
    /// Creates the dialog the first time; later calls keep it.
    void tryCreateDialog();

    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CImageWidget* m_icon = nullptr;
    CSimpleTextWidget* m_label = nullptr;
    QPointer<CAdviceFeedBackDialog> m_dialog; ///< owned, unless its parent window took it first
    QPointer<QWidget> m_dialogParent;
    std::unique_ptr<CItemFrame> m_frame;      ///< the shared item look; kept out of this exported header
};
