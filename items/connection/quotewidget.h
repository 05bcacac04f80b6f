#pragma once

#include <statusbar/statusbar_export.h>

#include <statusbar/itembasewidget.h>

/**
 * @brief The quote connection tag: "行情" on the success colour while quotes and trading are
 * connected, on the failure colour otherwise. A left click delivers event 1081 (quote sources).
 */
class STATUSBAR_EXPORT CQuoteWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    explicit CQuoteWidget(QWidget* parent = nullptr, QWidget* other = nullptr);
    ~CQuoteWidget() override;

    void switchToLite(bool lite) override;
    int getMaxWidth() override;
    int getMinWidth() override;

    QString backgroundKey() const { return m_backgroundKey; }

public slots:
    /// Looks at the host's connection state again; the count itself is not used.
    void slotQuoteConnectNum(int count);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_backgroundKey = QStringLiteral("ic_clr_quotetrade_fail_bg");
    QString m_textKey = QStringLiteral("ic_clr_quotetrade_text_bg");
};
