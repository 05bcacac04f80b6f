#include "textedit.h"

#include <terminalhost/uiresource.h>

#include <QTextEdit>
#include <QVBoxLayout>

namespace {
const char kObjectName[] = "text_edit";
const char kFontKey[] = "fnt_default_normal";
constexpr int kTextMargin = 8; // px between the frame and the text
}

CTextEdit::CTextEdit(int, QWidget* parent, bool editable, bool richText)
    : CBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_edit(new QTextEdit(this))
    , m_richText(richText)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    m_edit->setReadOnly(!editable);
    m_edit->setAcceptRichText(richText);
    m_edit->setLineWrapMode(QTextEdit::WidgetWidth);
    m_edit->document()->setDocumentMargin(kTextMargin);
    if (!editable)
        m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    applyTheme();
}

void CTextEdit::setText(const QString& text)
{
    if (m_richText)
        m_edit->setHtml(text);
    else
        m_edit->setPlainText(text);
}

QString CTextEdit::text() const
{
    return m_edit->toPlainText();
}

bool CTextEdit::isEditable() const
{
    return !m_edit->isReadOnly();
}

void CTextEdit::themeChanged()
{
    applyTheme();
}

void CTextEdit::applyTheme()
{
    const CUiResource* resource = CUiResource::instance();
    auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)).name(QColor::HexArgb); };
    const QFont font = resource->getFont(QLatin1String(kFontKey));
    m_edit->setStyleSheet(QStringLiteral("QTextEdit { background: %1; color: %2; border: 1px solid %3;"
                                         " selection-background-color: %4; font-family: \"%5\"; font-size: %6px; }")
                              .arg(color("clr_text_edit_background"), color("clr_text_edit_text"), color("clr_border_default"),
                                   color("clr_table_selected_background"), font.family())
                              .arg(font.pixelSize()));
}
