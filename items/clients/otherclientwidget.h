#pragma once

#include <statusbar/itembasewidget.h>
#include <statusbar/itemframe.h>

#include <terminalhost/multiclientmanager.h>

#include <QPointer>

class CClientTipWidget;
class CImageWidget;
class CMessageTip;

/**
 * @brief The launcher of the minimal trading client (client type 1): an icon in the status bar.
 *
 * A left press starts the client through the multi-client manager, every time; the manager raises
 * a copy that already runs. While the client starts, a "启动中..." tip stays above the icon until
 * the manager reports a companion up; a client that already runs gets a short "极简交易正在运行"
 * instead. A start that fails, or a running client that does not answer, shows the manager's
 * message in a short tip; the next press tries again, replacing a client that stopped answering.
 */
class COtherClientWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    explicit COtherClientWidget(QWidget* parent);

    /// Icon width + 12, in either form: the launcher has no compact form.
    int getMaxWidth() override;
    int getMinWidth() override;

    CImageWidget* icon() const { return m_icon; }
    /// The starting tip of the minimal trading client; null until a press needed it. The mini
    /// quote launcher keeps its own and leaves this one null.
    CClientTipWidget* tip() const { return m_tip; }
    const CItemFrame& frame() const { return m_frame; }

public slots:
    /// A companion is up: the starting tip goes.
    void slotOtherClientComplete();

protected:
    /// The start a left press makes.
    virtual void startOnPress();
    /// Whether the manager's report about a client of type concerns this launcher.
    virtual bool launches(EClinetType type) const;
    virtual void hideStartingTip();

    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

    /// A new start makes an earlier problem old news, shown or not.
    void forgetOldProblem();

private slots:
    /// The client failed to start or stopped answering: the user reads the manager's message.
    void slotClientProblem(EClinetType type, const QString& message);

private:
    void showFailure(const QString& message);

    CImageWidget* m_icon = nullptr;
    CClientTipWidget* m_tip = nullptr;
    CItemFrame m_frame{this};
    QString m_unshownFailure; ///< a failure reported while the launcher was not on screen
    QPointer<CMessageTip> m_problemTip; ///< the tip with the last problem, until it closes
};
