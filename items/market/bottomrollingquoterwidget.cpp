#include "bottomrollingquoterwidget.h"

#include <statusbar/itemaccessibility.h>

#include <terminalhost/formulamanager.h>
#include <terminalhost/indexbottomquoterwidget.h>
#include <terminalhost/stockmanager.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/widgetlist.h>

#include <QResizeEvent>
#include <QTimer>

#include <algorithm>

namespace {
const char kObjectName[] = "CBottomRollingQuoterWidget";
const char kSpokenName[] = "指数行情";
const char* const kCodes[] = {"SH000001", "SZ399006", "SZ399001", "SH000300", "SH000688"};
constexpr int kRotationMs = 3000;
constexpr int kDisplayMinWidth = 210; // px at 100 %, as the margin
constexpr int kListLeftMargin = 10;   // px
constexpr int kListStretch = 1;
constexpr int kSourceProxyTag = 0;     // the status of the quote proxy's connection
constexpr int kStatusConnected = 0;
constexpr int kStatusReconnected = 3;

// The position shown last, shared by every ticker in the process and never reset.
int g_shownPosition = -1;

// What a screen reader hears of the index that comes on show.
QString spokenQuote(const CIndexBottomQuoterWidget* display)
{
    if (!display)
        return QString();
    return QStringList{display->nameText(), display->priceText(), display->changeText(), display->percentText()}.join(QLatin1Char(' '));
}
}

CBottomRollingQuoterWidget::CBottomRollingQuoterWidget(QWidget* parent)
    : CBaseWidget(QLatin1String(kObjectName), false, parent)
{
    m_list = new CWidgetList(Qt::Horizontal, this);
    m_list->setSpacing(0);
    m_list->setMargin(CUiResource::instance()->scaledPx(kListLeftMargin), 0, 0, 0);
    m_shanghaiComposite = createDisplay(kCodes[0]);
    m_chiNext = createDisplay(kCodes[1]);
    m_shenzhenComponent = createDisplay(kCodes[2]);
    m_csi300 = createDisplay(kCodes[3]);
    m_star50 = createDisplay(kCodes[4]);
    m_rotation = {m_shanghaiComposite, m_chiNext, m_shenzhenComponent, m_csi300, m_star50};
    // A ticker built while the rotation runs (the bar rebuilt for a new scale) goes on showing the
    // index the last one showed; the first ticker of the process starts with the first index.
    const int shown = std::max(g_shownPosition, 0) % m_rotation.size();
    for (int i = 0; i < m_rotation.size(); ++i)
        m_rotation[i]->setVisible(i == shown);
    m_list->addStretchSpace(kListStretch);

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &CBottomRollingQuoterWidget::slotTimeOut);
    m_timer->start(kRotationMs);

    connect(CStockManager::instance(), &CStockManager::sigStockListFinish, this, &CBottomRollingQuoterWidget::slotRequestQuote);
    connect(CFormulaManager::instance(), &CFormulaManager::sigTradeDataChange, this,
            &CBottomRollingQuoterWidget::slotTradeDateChange);
    ItemAccessibility::describe(this, QString::fromUtf8(kSpokenName), spokenQuote(m_shanghaiComposite));
}

CIndexBottomQuoterWidget* CBottomRollingQuoterWidget::createDisplay(const char* code)
{
    auto* display = new CIndexBottomQuoterWidget(m_list);
    display->setStock(QLatin1String(code));
    // The margin and the display fill the bar's ticker width at 100 %. Scaled as one figure, the
    // display ends at the ticker's edge at any scale, where rounding could leave it a pixel too
    // wide for the list, which would then cut it away.
    const CUiResource* resource = CUiResource::instance();
    const int width = resource->scaledPx(kListLeftMargin + kDisplayMinWidth) - resource->scaledPx(kListLeftMargin);
    display->setMinimumWidth(width);
    display->resize(width, display->height());
    m_list->addFixedWidget(display, Anchor_Center, false);
    // The ticker as a whole is the Tab stop; its displays only take turns inside it.
    display->setFocusPolicy(Qt::NoFocus);
    return display;
}

CIndexBottomQuoterWidget* CBottomRollingQuoterWidget::display(int index) const
{
    CIndexBottomQuoterWidget* const displays[] = {m_shanghaiComposite, m_chiNext, m_shenzhenComponent, m_csi300, m_star50};
    return index >= 0 && index < kDisplayCount ? displays[index] : nullptr;
}

int CBottomRollingQuoterWidget::shownPosition()
{
    return g_shownPosition;
}

void CBottomRollingQuoterWidget::requestAll()
{
    for (CIndexBottomQuoterWidget* display : m_rotation) {
        if (display)
            display->request();
    }
    checkLastIndex();
}

void CBottomRollingQuoterWidget::unrequestAll()
{
    for (CIndexBottomQuoterWidget* display : m_rotation) {
        if (display)
            display->unrequest();
    }
}

void CBottomRollingQuoterWidget::checkLastIndex()
{
    if (!m_star50)
        return;
    if (CStockManager::instance()->getInstrumentDetail(m_star50->getStock())) {
        if (!m_rotation.contains(m_star50))
            m_rotation.append(m_star50);
    } else {
        m_star50->hide();
        m_rotation.removeAll(m_star50);
    }
}

void CBottomRollingQuoterWidget::slotTimeOut()
{
    const int n = m_rotation.size();
    if (n == 0)
        return;
    g_shownPosition = (g_shownPosition + 1) % n;
    for (int i = 0; i < n; ++i) {
        if (CIndexBottomQuoterWidget* display = m_rotation[i])
            display->setVisible(i == g_shownPosition);
    }
    ItemAccessibility::setValue(this, spokenQuote(m_rotation[g_shownPosition]));
}

void CBottomRollingQuoterWidget::slotRequestQuote()
{
    unrequestAll();
    requestAll();
}

void CBottomRollingQuoterWidget::slotStatusCallBack(int proxyTag, int status, std::string)
{
    if (proxyTag == kSourceProxyTag && (status == kStatusConnected || status == kStatusReconnected)) {
        unrequestAll();
        requestAll();
    }
}

void CBottomRollingQuoterWidget::slotTradeDateChange(QString)
{
    unrequestAll();
    requestAll();
}

bool CBottomRollingQuoterWidget::handleEvent(int, int, int, QString, void*)
{
    return false;
}

void CBottomRollingQuoterWidget::resizeEvent(QResizeEvent* event)
{
    CBaseWidget::resizeEvent(event);
    m_list->setGeometry(rect());
}
