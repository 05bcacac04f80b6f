#pragma once

#include <terminalhost/basewidget.h>

class QTabWidget;

/// Where a tab control shows its tabs.
enum ETabPosition {
    TabPosition_Top = 0x20,
    TabPosition_Bottom = 0x40,
    TabPosition_Left = 0x80,
    TabPosition_Right = 0x100,
};

/**
 * @brief The terminal's tab control: pages with a tab each, in the theme's colours.
 *
 * A toolkit page (CBaseWidget) hears onActive() whenever it becomes the page shown: when the user
 * or setCurrentIndex() switches to it while the control is visible, and when the control is shown
 * with it current. Pages fill themselves there, so a page nobody looks at costs nothing.
 */
class TERMINALHOST_EXPORT CStandardTabControl : public CBaseWidget
{
    Q_OBJECT
public:
    explicit CStandardTabControl(QWidget* parent);

    /// Adds a page at the end; the control takes ownership. Returns its index.
    int addTabWidget(const QString& title, QWidget* page);
    /// ETabPosition; an unknown value leaves the tabs where they are.
    void setTabPosition(int position);
    int tabPosition() const { return m_position; }
    int count() const;
    int currentIndex() const;
    void setCurrentIndex(int index);
    QString tabText(int index) const;
    QWidget* widget(int index) const;

    void themeChanged() override;

protected:
    void showEvent(QShowEvent* event) override;

signals:
    void sigCurrentChanged(int index);

private:
    void applyTheme();
    void activate(int index);

    QTabWidget* m_tabs = nullptr;
    int m_position = TabPosition_Top;
};
