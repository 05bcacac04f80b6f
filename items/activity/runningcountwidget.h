#pragma once

#include <statusbar/itembasewidget.h>

#include <QString>

class CImageWidget;
class CSimpleTextWidget;

/**
 * @brief A running counter of the status bar (orders, tasks, strategies): an optional icon, a
 * caption with a full and a compact wording, and the number, sized to its digits.
 *
 * Texts are measured when they change (a new number, a theme or scale change), so the bar's width
 * queries only add up what is known and change nothing. updateCount() shows a number the way every
 * redraw of a counter does: the full caption back and the item at its full width. When the number
 * needs more room than the last one, numberWidened() lets the subclass tell the bar.
 */
class CRunningCountWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    /// What a counter is made of; the texts are UTF-8.
    struct Parts {
        const char* iconKey = nullptr; ///< null: no icon
        const char* fullCaption = "";
        const char* liteCaption = "";
        int fullPadding = 0; ///< px at 100 % the full width adds to icon, caption and number
        int litePadding = 0; ///< px at 100 % the compact width adds
    };

    /// Shows count, puts the full caption back and sizes the item to its full width.
    void updateCount(int count);

    /// The compact caption (true) or the full one (false).
    void switchToLite(bool lite) override;
    int getMaxWidth() override;
    int getMinWidth() override;
    void themeChanged() override;

    /// Null for a counter without an icon.
    CImageWidget* image() const { return m_icon; }
    CSimpleTextWidget* label() const { return m_label; }
    CSimpleTextWidget* counter() const { return m_counter; }

protected:
    CRunningCountWidget(const Parts& parts, QWidget* parent);

    /// The number became wider than the one before: the subclass asks the bar for room.
    virtual void numberWidened() = 0;

    void resizeEvent(QResizeEvent* event) override;

private:
    void showCaption(bool lite);
    bool showNumber(int count);
    void measureCaptions();
    void placeChildren();

    CImageWidget* m_icon = nullptr;
    CSimpleTextWidget* m_label = nullptr;
    CSimpleTextWidget* m_counter = nullptr;
    QString m_fullCaption;
    QString m_liteCaption;
    int m_fullPadding = 0;
    int m_litePadding = 0;
    int m_fullCaptionWidth = 0; ///< px, in the caption font of the current theme and scale
    int m_liteCaptionWidth = 0;
    bool m_numberStale = true;  ///< the number's width is to be measured again, even for the same text
};
