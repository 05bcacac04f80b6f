#pragma once

#include <terminalhost/basetablecolumndelegate.h>

#include <QFont>
#include <QHash>

/**
 * @brief A column of one-line texts, each cell with its own text, colour key and clickability. A
 * clickable cell is underlined under the pointer; clicking it delivers Event_TableCellClick.
 */
class TERMINALHOST_EXPORT CBaseTableColumnSimpleTextDelegate : public CBaseTableColumnDelegate
{
    Q_OBJECT
public:
    CBaseTableColumnSimpleTextDelegate(int id, CEventDeliverer* deliverer);

    void setFontKey(const QString& key);
    QString fontKey() const { return m_fontKey; }
    /// A Qt::Alignment value.
    void setTextAlignment(int alignment);
    int textAlignment() const { return m_alignment; }

    void setItemText(const QString& key, const QString& text, bool update);
    QString itemText(const QString& key) const;
    void setItemClickable(const QString& key, bool clickable, bool update);
    void setItemColorKey(const QString& key, const QString& colorKey, bool update);
    /// The cell's colour key; the table's text colour unless one was set.
    QString itemColorKey(const QString& key) const;

    void paintCell(QPainter* painter, const QRect& rect, const QString& key, bool hovered) const override;
    /// The widest text plus the cell's padding on both sides.
    int getAdjustedWidth() const override;
    bool isClickable(const QString& key) const override;
    void clearItems() override;

private:
    struct Item {
        QString text;
        QString colorKey;
        bool clickable = false;
    };
    void changed(bool update);

    QHash<QString, Item> m_items;
    QString m_fontKey = QStringLiteral("fnt_default_normal");
    int m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    // The widest text, kept up to date as texts are added so that asking for it after each new row
    // does not measure every row again; measured anew after a text is replaced or the font changed.
    mutable QFont m_measuredFont;
    mutable int m_widest = 0;
    mutable bool m_widestKnown = false;
};
