#pragma once

#include <statusbar/statusbar_export.h>

#include <statusbar/itembasewidget.h>

#include <terminalhost/accountinfo.h>

#include <QVector>

#include <map>
#include <string>

/**
 * @brief The trade login tag: "交易" on the success colour when every trade account is logged in,
 * on the failure colour otherwise. Hovering asks the status bar (event 1282) to list each
 * account's login state.
 */
class STATUSBAR_EXPORT CTradeWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    explicit CTradeWidget(QWidget* parent = nullptr, QWidget* other = nullptr);

    int getMaxWidth() override;
    int getMinWidth() override;

    /// The account lines of the popup, as the last hover built them.
    void getText(QVector<QString>& out) const;
    /// The colour key of each popup line.
    void getColor(QVector<QString>& out) const;

    QString backgroundKey() const { return m_backgroundKey; }

protected slots:
    void slotLoginStatus(const CAccountInfoPtr& account, EBROKER_LOGIN_STATUS status, std::string message);

protected:
    void initAccount();
    void updateBackGround();
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_backgroundKey = QStringLiteral("ic_clr_quotetrade_fail_bg");
    QString m_textKey = QStringLiteral("ic_clr_quotetrade_text_bg");
    std::map<std::string, bool> m_accounts; ///< account id -> logged in
    QVector<QString> m_tipTexts;
    QVector<QString> m_tipColorKeys;
};
