#pragma once

#include <terminalhost/basewidget.h>

#include <QString>

class CSimpleTextWidget;

/**
 * @brief One entry of the order service menu: a text row that reports its service id when pressed.
 */
class CServiceSwitchCheckBox : public CBaseWidget
{
    Q_OBJECT
public:
    CServiceSwitchCheckBox(const QString& text, int id, QWidget* parent);

    int serviceId() const { return m_id; }
    QString text() const;
    CSimpleTextWidget* textWidget() const { return m_text; }

signals:
    void sigServiceClick(int id);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    CSimpleTextWidget* m_text = nullptr;
    int m_id = 0;
};
