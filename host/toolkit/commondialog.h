#pragma once

#include <terminalhost/basedialog.h>
#include <terminalhost/terminalhost_export.h>

class QLabel;
class QScreen;
class QVBoxLayout;

/**
 * @brief The terminal's titled dialog frame: a title strip in theme colours above one inner widget.
 *
 * Each time it is shown it keeps the size its owner gave it where the screen it opens on has room;
 * otherwise it shrinks to that screen's available area, and it is placed fully on that screen.
 */
class TERMINALHOST_EXPORT CCommonDialog : public CBaseDialog
{
    Q_OBJECT
public:
    explicit CCommonDialog(QWidget* parent);

    void setTitle(const QString& title);
    QString title() const;
    /// Shows widget below the title; the dialog takes ownership and drops the previous one.
    void setInnerWidget(QWidget* widget);
    QWidget* innerWidget() const { return m_inner; }

    void themeChanged() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyTheme();
    /// The owner's screen, else the one under the pointer: where QDialog places a dialog.
    QScreen* openingScreen() const;
    /// px the window manager's border adds around the dialog; the owner's border before the first show.
    QSize frameExtent() const;
    void fitInto(const QRect& available);
    void placeOn(const QRect& available);

    QLabel* m_titleLabel = nullptr;
    QVBoxLayout* m_layout = nullptr;
    QWidget* m_inner = nullptr;
    QSize m_writtenSize; ///< the size the owner gave, which a screen with room gets back
    QSize m_fittedSize;  ///< the size the last fit left, so that it is not taken for the owner's
};
