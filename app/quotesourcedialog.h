#pragma once

#include <terminalhost/commondialog.h>

class QLabel;

/**
 * @brief The main window's quote source view, opened by bus event 1081: how many quote sources
 * are connected and which. Follows the quote client while open.
 */
class CQuoteSourceDialog : public CCommonDialog
{
    Q_OBJECT
public:
    explicit CQuoteSourceDialog(QWidget* parent);

    /// Shows count connected sources out of the configured ones.
    void showCount(int count);

    void themeChanged() override;

private:
    void applyTextColour();

    QLabel* m_summary = nullptr;
    QLabel* m_sources = nullptr;
};
