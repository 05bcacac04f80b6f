#pragma once

#include <terminalhost/basedialog.h>
#include <terminalhost/terminalhost_export.h>

class QLabel;
class QVBoxLayout;

/**
 * @brief The terminal's titled dialog frame: a title strip in theme colours above one inner widget.
 */
class TERMINALHOST_EXPORT CCommonDialog : public CBaseDialog
{
    Q_OBJECT
public:
    explicit CCommonDialog(QWidget* parent);

    void setTitle(const QString& title);
    QString title() const;
    /// Shows widget below the title; the dialog takes ownership and drops the previous one.
    void setInnerWidget(QWidget* widget);
    QWidget* innerWidget() const { return m_inner; }

    void themeChanged() override;

private:
    void applyTheme();

    QLabel* m_titleLabel = nullptr;
    QVBoxLayout* m_layout = nullptr;
    QWidget* m_inner = nullptr;
};
