#pragma once

#include <statusbar/statusbar_export.h>

#include <terminalhost/basewidget.h>

/**
 * @brief An item of the status bar row: a self-drawing widget the bar can measure and shrink.
 *
 * The bar gives an item getMaxWidth() when there is room; when space is short it calls
 * switchToLite(true) and gives it getMinWidth(). Items without a compact form keep the defaults.
 * A screen reader reads every item by its name and value (ItemAccessibility).
 */
class STATUSBAR_EXPORT CItemBaseWidget : public CBaseWidget
{
    Q_OBJECT
public:
    /// Every item carries the same object name; the given name is not used.
    CItemBaseWidget(const QString& name, bool autoFill, QWidget* parent);
    ~CItemBaseWidget() override;

    /// Drops (true) or restores (false) secondary content so that the item fits getMinWidth().
    virtual void switchToLite(bool lite);
    /// The width the item wants when there is room, in pixels.
    virtual int getMaxWidth();
    /// The narrowest width the item accepts, in pixels.
    virtual int getMinWidth();

protected:
    void resizeEvent(QResizeEvent* event) override;
};
