#include "noticewidget.h"

#include <statusbar/itemaccessibility.h>
#include <statusbar/noticedialog.h>
#include <statusbar/noticeinfoitemdialog.h>
#include <statusbar/statusbartooltip.h>

#include <terminalhost/formulamanager.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/pushbutton.h>
#include <terminalhost/textedit.h>
#include <terminalhost/uiresource.h>

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <boost/bind/bind.hpp>

#include <cstdint>

namespace {
const char kObjectName[] = "CNoticeWidget";
const char kFontKey[] = "fnt_default_normal_fix";
const char kImportantColorKey[] = "tc_clr_deptch_order_queue_price_rise";
const char kOrdinaryColorKey[] = "clr_global_text";
const char kButtonText[] = "公告";
const char kDetailTitle[] = "公告";
const char kMinWidthText[] = "公";
const char kShenzhen[] = "SZ";
const char kShanghai[] = "SH";
const char kShenzhenIndex[] = "399001";
const char kShanghaiIndex[] = "000001";
constexpr int kRotationMs = 3000;
// Widths and offsets are px at 100 %, taken at the UI scale.
constexpr int kMaxWidth = 640;          // px
constexpr int kButtonId = 1026;
constexpr int kButtonX = 0;
constexpr int kButtonY = -3;
constexpr int kButtonWidth = 35;
constexpr int kButtonHeight = 24;
constexpr int kTitleX = 39;             // px; the title starts right of the button
constexpr int kTitleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
constexpr int kDetailWidth = 620;
constexpr int kDetailHeight = 550;
constexpr int kNoticeMetaId = MetaId_Notice;
constexpr long long kMetaParam = 0;
constexpr long long kRegionEndKey = 2147483646LL * 1000LL; // the feed's keys are ms; this is far in the future
constexpr long long kRegionSkipNewest = 0;
constexpr int kRegionMaxCount = 0x7FFFFFFF;
constexpr int kNoSubscription = -1;
constexpr int kMarketCount = 2; // Shenzhen and Shanghai

// The announcement button's place, at the UI scale; it rises above the item's top.
QRect buttonArea()
{
    const CUiResource* resource = CUiResource::instance();
    return QRect(resource->scaledPx(kButtonX), resource->scaledPx(kButtonY), resource->scaledPx(kButtonWidth),
                 resource->scaledPx(kButtonHeight));
}

/// The subscription id's low 32 bits, as the ticker keeps it.
int lowWord(long long id)
{
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned long long>(id)));
}

TSMetaInfo noticeMeta(const char* market, const char* indexCode)
{
    TSMetaInfo meta;
    meta.market = market;
    meta.code = indexCode;
    meta.metaId = kNoticeMetaId;
    meta.param = kMetaParam;
    return meta;
}
}

void CNoticeRequestModel::setItem(CNoticeWidget* item)
{
    boost::mutex::scoped_lock lock(m_mutex);
    m_item = item;
}

CNoticeRequestModel::Callback CNoticeRequestModel::callbackFor(const QString& market, long long tradeDate)
{
    using namespace boost::placeholders;
    return boost::bind(&CNoticeRequestModel::onNoticeData, shared_from_this(), _1, _2, _3, market, tradeDate);
}

void CNoticeRequestModel::onNoticeData(int tag, int status, const std::vector<std::shared_ptr<QuoterBase>>& records,
                                       QString market, long long)
{
    // Held while the ticker merges, so that the ticker cannot go away in the middle of it.
    boost::mutex::scoped_lock lock(m_mutex);
    if (m_item)
        m_item->onNoticeData(tag, status, records, market);
}

CNoticeWidget::CNoticeWidget(QWidget* parent)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
{
    applyFont();

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &CNoticeWidget::slotMoveTextTimeOut);
    m_timer->start(kRotationMs);

    connect(CFormulaManager::instance(), &CFormulaManager::sigTradeDataChange, this, &CNoticeWidget::slotTradeDateChange);

    const CButtonColor colors(QStringLiteral("clr_btn_background_color"), QStringLiteral("tc_clr_depth_bottom_group_btn_hover"),
                              QStringLiteral("tc_clr_depth_bottom_group_btn_press"),
                              QStringLiteral("tc_clr_depth_bottom_group_btn_disable"));
    m_button = new CPushButton(colors, kButtonId, this);
    m_button->setText(QString::fromUtf8(kButtonText));
    m_button->setGeometry(buttonArea());
    m_button->hide();

    m_model = boost::shared_ptr<CNoticeRequestModel>(new CNoticeRequestModel);
    m_model->setItem(this);
    ItemAccessibility::describe(this, QString::fromUtf8(kButtonText));
}

CNoticeWidget::~CNoticeWidget()
{
    m_timer->stop();
    // unrequest() joins a worker that may still be subscribing, then ends both subscriptions.
    unrequest();
    disconnect();
    QObject::disconnect(CFormulaManager::instance(), nullptr, this, nullptr);
    // Callbacks of subscriptions this ticker no longer knows (a request() that was not undone)
    // still hold the model: from here on they find no ticker.
    m_model->setItem(nullptr);
    m_model.reset();
    boost::recursive_mutex::scoped_lock lock(m_dataMutex);
    m_importantList.clear();
    m_ordinaryList.clear();
    m_importantStore.clear();
    m_ordinaryStore.clear();
}

void CNoticeWidget::request()
{
    joinWorker();
    {
        boost::recursive_mutex::scoped_lock lock(m_dataMutex);
        m_firstBatchesDue = kMarketCount;
    }
    m_worker = boost::thread(&CNoticeWidget::subscribeBoth, this);
}

void CNoticeWidget::joinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

void CNoticeWidget::subscribeBoth()
{
    CFormulaManager* manager = CFormulaManager::instance();
    TRegionInfo region;
    const TSMetaInfo shenzhen = noticeMeta(kShenzhen, kShenzhenIndex);
    // One trade date serves both exchanges.
    const long long tradeDate = manager->getMarketLastTradeDate(kShenzhen);
    region.startDate = tradeDate;
    region.endKey = kRegionEndKey;
    region.skipNewest = kRegionSkipNewest;
    region.maxCount = kRegionMaxCount;

    m_szMeta = shenzhen;
    m_szId = lowWord(manager->subscribeQuoter(ProxyType_ProxyStock, shenzhen, region, DataDemand_HistoryAndPush, false,
                                              m_model->callbackFor(QLatin1String(kShenzhen), tradeDate)));
    const TSMetaInfo shanghai = noticeMeta(kShanghai, kShanghaiIndex);
    m_shMeta = shanghai;
    m_shId = lowWord(manager->subscribeQuoter(ProxyType_ProxyStock, shanghai, region, DataDemand_HistoryAndPush, false,
                                              m_model->callbackFor(QLatin1String(kShanghai), tradeDate)));
}

void CNoticeWidget::unrequest()
{
    // The worker writes the ids and descriptors: they are read only once it is done.
    joinWorker();
    CFormulaManager* manager = CFormulaManager::instance();
    if (m_szId != kNoSubscription) {
        manager->unsubQuoter(static_cast<long long>(m_szId.load()), m_szMeta);
        m_szId = kNoSubscription;
    }
    if (m_shId != kNoSubscription) {
        manager->unsubQuoter(static_cast<long long>(m_shId.load()), m_shMeta);
        m_shId = kNoSubscription;
    }
}

int CNoticeWidget::getMaxWidth()
{
    return CUiResource::instance()->scaledPx(kMaxWidth);
}

int CNoticeWidget::getMinWidth()
{
    return m_minWidth;
}

void CNoticeWidget::themeChanged()
{
    applyFont();
    update();
}

void CNoticeWidget::applyFont()
{
    setFont(CUiResource::instance()->getFont(QLatin1String(kFontKey)));
    m_minWidth = QFontMetrics(font()).horizontalAdvance(QString::fromUtf8(kMinWidthText));
}

void CNoticeWidget::onNoticeData(int, int status, const std::vector<std::shared_ptr<QuoterBase>>& records, const QString& market)
{
    // A subscription's first batch is a full one, or an empty one when nothing is stored.
    const bool fullOrEmpty = status == QuoterStatus_Full || status == QuoterStatus_Empty;
    if (records.empty() || status == QuoterStatus_Empty) {
        m_ready = true;
        if (fullOrEmpty)
            noteFirstBatch();
        return;
    }
    m_ready = false;
    boost::recursive_mutex::scoped_lock lock(m_dataMutex);
    if (status == QuoterStatus_Full) {
        m_importantStore.remove(market);
        m_ordinaryStore.remove(market);
    }
    for (const std::shared_ptr<QuoterBase>& record : records) {
        const auto notice = std::dynamic_pointer_cast<Notice>(record);
        if (!notice || notice->title().empty() || notice->content().empty())
            continue;
        insertNotice(notice->level() != NoticeLevel_Ordinary ? m_importantStore : m_ordinaryStore, market, notice);
    }
    m_rotation.restart();
    m_importantList = noticeDisplayList(m_importantStore);
    m_ordinaryList = noticeDisplayList(m_ordinaryStore);
    m_ready = true;
    if (fullOrEmpty)
        noteFirstBatch();
}

void CNoticeWidget::noteFirstBatch()
{
    boost::recursive_mutex::scoped_lock lock(m_dataMutex);
    // Once both exchanges' first batches are in, a blank ticker (just built, or a new trade date)
    // shows its first title rather than waiting for its next turn. Queued, since this runs on the
    // feed thread; deleting the ticker drops the call.
    if (m_firstBatchesDue > 0 && --m_firstBatchesDue == 0)
        QMetaObject::invokeMethod(this, &CNoticeWidget::showFirstIfBlank, Qt::QueuedConnection);
}

void CNoticeWidget::showFirstIfBlank()
{
    if (!m_title.isEmpty())
        return;
    slotMoveTextTimeOut();
    // The next turn comes a full period after this one, unless the pointer rests on the ticker.
    if (m_timer->isActive())
        m_timer->start();
}

void CNoticeWidget::slotMoveTextTimeOut()
{
    if (!m_ready)
        return;
    std::shared_ptr<Notice> chosen;
    bool nothingStored = false;
    {
        // Copies are cheap (shared); the position moves under the lock, since a batch restarts it.
        boost::recursive_mutex::scoped_lock lock(m_dataMutex);
        const NoticeList important = m_importantList;
        const NoticeList ordinary = m_ordinaryList;
        const int position = m_rotation.advance(important.size(), ordinary.size());
        if (position < 0)
            nothingStored = true;
        else
            chosen = m_rotation.showingImportant ? important.at(position) : ordinary.at(position);
    }
    if (nothingStored) {
        if (m_button && !m_button->isHidden()) {
            m_button->hide();
            m_title.clear();
            m_content.clear();
            ItemAccessibility::setValue(this, m_title);
            update();
        }
        return;
    }
    if (chosen) {
        m_title = sToQs(chosen->title());
        m_content = sToQs(chosen->content());
    }
    m_button->show();
    ItemAccessibility::setValue(this, m_title);
    update();
}

void CNoticeWidget::slotTradeDateChange(QString)
{
    m_ready = false;
    m_button->hide();
    // The old subscriptions end before the stores are emptied, so that none of their batches lands
    // in the emptied stores.
    unrequest();
    {
        boost::recursive_mutex::scoped_lock lock(m_dataMutex);
        m_importantList.clear();
        m_ordinaryList.clear();
        m_importantStore.clear();
        m_ordinaryStore.clear();
        m_rotation.restart();
    }
    m_title.clear();
    ItemAccessibility::setValue(this, m_title);
    request();
    update();
}

void CNoticeWidget::slotShowNotice(QString text)
{
    if (!m_detailDialog) {
        m_detailDialog = new CNoticeInfoItemDialog(this);
        m_detailDialog->resize(kDetailWidth, kDetailHeight);
    }
    m_detailDialog->textEdit()->setText(text);
    m_detailDialog->setTitle(QString::fromUtf8(kDetailTitle));
    m_detailDialog->resize(m_detailDialog->size());
    m_detailDialog->show();
}

bool CNoticeWidget::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == Event_ToolTip && !m_title.isEmpty()) {
        StatusBarToolTip::show(this, m_title);
        return true;
    }
    if (type != Event_Activate)
        return CItemBaseWidget::handleEvent(type, id, arg, text, data);
    if (id == kButtonId)
        openListDialog();
    return true;
}

void CNoticeWidget::openListDialog()
{
    if (!m_listDialog) {
        m_listDialog = new NoticeDialog(this);
        connect(m_listDialog, &NoticeDialog::sigShowNotice, this, &CNoticeWidget::slotShowNotice);
    }
    NoticeStore important;
    NoticeStore ordinary;
    {
        boost::recursive_mutex::scoped_lock lock(m_dataMutex);
        important = m_importantStore;
        ordinary = m_ordinaryStore;
    }
    m_listDialog->setNoticeData(important, ordinary);
    m_listDialog->show();
}

NoticeList CNoticeWidget::importantList() const
{
    boost::recursive_mutex::scoped_lock lock(m_dataMutex);
    return m_importantList;
}

NoticeList CNoticeWidget::ordinaryList() const
{
    boost::recursive_mutex::scoped_lock lock(m_dataMutex);
    return m_ordinaryList;
}

NoticeStore CNoticeWidget::importantStore() const
{
    boost::recursive_mutex::scoped_lock lock(m_dataMutex);
    return m_importantStore;
}

NoticeStore CNoticeWidget::ordinaryStore() const
{
    boost::recursive_mutex::scoped_lock lock(m_dataMutex);
    return m_ordinaryStore;
}

QRect CNoticeWidget::titleArea() const
{
    return QRect(CUiResource::instance()->scaledPx(kTitleX), 0, QFontMetrics(font()).horizontalAdvance(m_title), height());
}

void CNoticeWidget::enterEvent(QEvent*)
{
    m_timer->stop();
}

void CNoticeWidget::leaveEvent(QEvent*)
{
    m_timer->start();
}

void CNoticeWidget::mousePressEvent(QMouseEvent* event)
{
    if (!m_title.isEmpty() && titleArea().contains(event->pos()))
        slotShowNotice(m_content);
}

void CNoticeWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
    m_clipRect = QRect(0, 0, width(), height());
}

void CNoticeWidget::paintEvent(QPaintEvent*)
{
    m_button->setGeometry(buttonArea());
    QPainter painter(this);
    painter.setClipRect(m_clipRect);
    const QString colorKey = QLatin1String(m_rotation.showingImportant ? kImportantColorKey : kOrdinaryColorKey);
    painter.setPen(CUiResource::instance()->getColor(colorKey));
    painter.setFont(font());
    // A title longer than the room ends with "…" after its last whole character; the tooltip has it all.
    const QRect area = titleArea();
    const QString shown = QFontMetrics(font()).elidedText(m_title, Qt::ElideRight, width() - area.left());
    painter.drawText(area, kTitleAlignment, shown);
}
