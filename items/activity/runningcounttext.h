#pragma once

#include <QString>

class CSimpleTextWidget;
class QWidget;

/**
 * @brief The caption and the number of a running counter item (orders, tasks, strategies): the
 * caption has a full and a compact wording, and the number is sized to its digits so that its
 * owner can tell the bar when it needs more room.
 */
class CRunningCountText
{
public:
    CRunningCountText(const QString& fullCaption, const QString& liteCaption, QWidget* owner);

    CSimpleTextWidget* label() const { return m_label; }
    CSimpleTextWidget* counter() const { return m_counter; }

    /// Puts the compact (lite) or the full caption up.
    void showCaption(bool lite);
    /// Shows count as plain decimal; true when the number became wider than before.
    bool showCount(int count);
    /// Caption and number side by side, in pixels, without gaps.
    int textWidth() const;

private:
    QString m_fullCaption;
    QString m_liteCaption;
    CSimpleTextWidget* m_label = nullptr;
    CSimpleTextWidget* m_counter = nullptr;
};
