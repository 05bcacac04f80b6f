#pragma once

#include <terminalhost/commondialog.h>

class CTextEdit;

/**
 * @brief "公告": one announcement's text in a read-only text field. The ticker writes into the field
 * directly; the dialog has no signals or slots of its own, hence no meta-object.
 */
class CNoticeInfoItemDialog : public CCommonDialog
{
public:
    explicit CNoticeInfoItemDialog(QWidget* parent);

    CTextEdit* textEdit() const { return m_textEdit; }

private:
    CTextEdit* m_textEdit = nullptr;
};
