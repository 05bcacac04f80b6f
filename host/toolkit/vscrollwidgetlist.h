#pragma once

#include <terminalhost/basewidget.h>

#include <QList>

class QScrollArea;
class QVBoxLayout;

/**
 * @brief A vertical list of widgets that scrolls: each widget keeps its own height and takes the
 * list's width; the list scrolls once they are taller than it.
 */
class TERMINALHOST_EXPORT CVScrollWidgetList : public CBaseWidget
{
    Q_OBJECT
public:
    enum EFlag {
        Flag_ScrollBarAsNeeded = 0x1, ///< the scroll bar shows only while the widgets overflow; else always
    };

    CVScrollWidgetList(int flags, QWidget* parent);
    ~CVScrollWidgetList() override;

    /// Appends a widget at the bottom; the list owns it.
    void addWidget(QWidget* widget);
    /// Removes and deletes every widget; deferDelete deletes them from the event loop, for a caller
    /// that runs inside one of them.
    void clearWidgets(bool deferDelete);
    int count() const { return m_widgets.size(); }
    QWidget* widget(int index) const { return m_widgets.value(index); }

    void themeChanged() override;

private:
    void applyTheme();

    QScrollArea* m_area = nullptr;
    QWidget* m_content = nullptr;
    QVBoxLayout* m_layout = nullptr;
    QList<QWidget*> m_widgets;
};
