#pragma once

#include <terminalhost/basewidget.h>

#include <QString>
#include <QVector>

#include <string>

class CIndexBottomQuoterWidget;
class CWidgetList;
class QTimer;

/**
 * @brief The rolling index quote: five index displays (上证指数, 创业板指, 深证成指, 沪深300, 科创50)
 * take turns in one slot of the bar, the next every three seconds. The last, "SH000688", takes part
 * only while the stock list knows it; it is checked after every request of the quotes. The turn is
 * shared by every ticker of the process, so a rebuilt bar's ticker goes on where the last one was.
 *
 * The quotes are requested again when the stock list is complete, when a trade date changes, when
 * the host reports a quote source (re)connected, and when the bar's request() asks.
 */
class CBottomRollingQuoterWidget : public CBaseWidget
{
    Q_OBJECT
public:
    static constexpr int kDisplayCount = 5;

    explicit CBottomRollingQuoterWidget(QWidget* parent);

    /// Requests every display's quote, in rotation order, then checks the last index.
    void requestAll();
    /// Drops every display's quote, in rotation order.
    void unrequestAll();
    /// Consumes nothing.
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

    /// The display created at that place (0 to 4), in the order of the codes above.
    CIndexBottomQuoterWidget* display(int index) const;
    /// The displays taking part in the rotation, in turn order.
    QVector<CIndexBottomQuoterWidget*> rotation() const { return m_rotation; }
    /// The rotation position shown last, shared by every ticker of the process; -1 before the first turn.
    static int shownPosition();

protected slots:
    void slotTimeOut();
    void slotRequestQuote();
    /// A quote source's connection status: proxy tag 0 with status 0 or 3 requests everything again.
    void slotStatusCallBack(int proxyTag, int status, std::string ip);
    void slotTradeDateChange(QString qsMarket);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CIndexBottomQuoterWidget* createDisplay(const char* code);
    void checkLastIndex();

    CWidgetList* m_list = nullptr;
    CIndexBottomQuoterWidget* m_shanghaiComposite = nullptr;
    CIndexBottomQuoterWidget* m_chiNext = nullptr;
    CIndexBottomQuoterWidget* m_shenzhenComponent = nullptr;
    CIndexBottomQuoterWidget* m_csi300 = nullptr;
    CIndexBottomQuoterWidget* m_star50 = nullptr;
    QVector<CIndexBottomQuoterWidget*> m_rotation;
    QTimer* m_timer = nullptr;
};
