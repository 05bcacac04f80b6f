#pragma once

#include <terminalhost/basewidget.h>

class QTextEdit;

/**
 * @brief A framed, scrolling multi-line text field in the theme's colours. Long lines wrap.
 */
class TERMINALHOST_EXPORT CTextEdit : public CBaseWidget
{
    Q_OBJECT
public:
    /// style selects the look (the framed field, 0, is the only one so far); editable lets the user
    /// type; richText reads setText's text as HTML, otherwise as plain text.
    CTextEdit(int style, QWidget* parent, bool editable, bool richText);

    void setText(const QString& text);
    /// The text as plain text.
    QString text() const;
    bool isEditable() const;
    QTextEdit* editor() const { return m_edit; }

    void themeChanged() override;

private:
    void applyTheme();

    QTextEdit* m_edit = nullptr;
    bool m_richText = false;
};
