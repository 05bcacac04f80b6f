#pragma once

#include <statusbar/itembasewidget.h>
#include <statusbar/noticestore.h>

#include <terminalhost/quoterdata.h>

#include <QObject>
#include <QRect>
#include <QString>

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/thread/recursive_mutex.hpp>
#include <boost/thread/thread.hpp>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class CNoticeInfoItemDialog;
class CNoticeWidget;
class CPushButton;
class NoticeDialog;
class QTimer;

/**
 * @brief What the formula manager's announcement callbacks hold instead of the ticker: they may be
 * called on the feed thread after the ticker is gone, and then find no ticker and do nothing.
 */
class CNoticeRequestModel : public QObject, public boost::enable_shared_from_this<CNoticeRequestModel>
{
    Q_OBJECT
public:
    using Callback = std::function<void(int, int, const std::vector<std::shared_ptr<QuoterBase>>&)>;

    /// The ticker this model serves; null once it is gone. A forward already running finishes first.
    void setItem(CNoticeWidget* item);
    /// A subscription callback for one exchange that keeps this model alive.
    Callback callbackFor(const QString& market, long long tradeDate);
    /// Hands a batch on to the ticker, if there still is one. Any thread.
    void onNoticeData(int tag, int status, const std::vector<std::shared_ptr<QuoterBase>>& records, QString market,
                      long long tradeDate);

private:
    boost::mutex m_mutex; // a forward and the ticker's departure exclude each other
    CNoticeWidget* m_item = nullptr;
};

/**
 * @brief The announcement ticker: the "公告" button and one exchange announcement title at a time,
 * the next every three seconds, important ones in the highlight colour taking turns with ordinary
 * ones. The title opens the announcement's text; the button opens the list of all announcements.
 *
 * request() subscribes the Shenzhen and Shanghai announcement feeds from a short-lived worker
 * thread; batches arrive on the formula manager's feed thread and are merged under the data lock;
 * the rotation runs on the GUI thread and draws from copies. A blank ticker shows its first title as
 * soon as both exchanges' first batches have landed, so a rebuilt bar shows the day's announcements
 * at once. The pointer
 * resting on the ticker pauses the rotation.
 */
class CNoticeWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    explicit CNoticeWidget(QWidget* parent);
    ~CNoticeWidget() override;

    /// Subscribes both exchanges' announcements on a worker thread and returns at once.
    void request();
    /// Ends both subscriptions (after the worker, if one runs, has made them).
    void unrequest();

    int getMaxWidth() override;
    int getMinWidth() override;
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;
    void themeChanged() override;

    /// Merges a batch of one exchange's announcements; the formula manager's thread calls it.
    void onNoticeData(int tag, int status, const std::vector<std::shared_ptr<QuoterBase>>& records, const QString& market);

    QString currentTitle() const { return m_title; }
    QString currentContent() const { return m_content; }
    bool isShowingImportant() const { return m_rotation.showingImportant; }
    bool isReady() const { return m_ready.load(); }
    CPushButton* button() const { return m_button; }
    QTimer* rotationTimer() const { return m_timer; }
    /// Null until first opened.
    NoticeDialog* listDialog() const { return m_listDialog; }
    CNoticeInfoItemDialog* detailDialog() const { return m_detailDialog; }
    NoticeList importantList() const;
    NoticeList ordinaryList() const;
    NoticeStore importantStore() const;
    NoticeStore ordinaryStore() const;
    /// The subscription ids kept per exchange; -1 without one.
    int shenzhenId() const { return m_szId.load(); }
    int shanghaiId() const { return m_shId.load(); }
    /// The model the subscription callbacks hold.
    boost::shared_ptr<CNoticeRequestModel> requestModel() const { return m_model; }
    /// Where a press opens the announcement's text.
    QRect titleArea() const;

public slots:
    void slotMoveTextTimeOut();
    void slotTradeDateChange(QString qsMarket);
    void slotShowNotice(QString text);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void subscribeBoth(); // the worker's routine
    void noteFirstBatch();
    void showFirstIfBlank();
    void joinWorker();
    void openListDialog();
    void applyFont();

    // Shared with the feed thread, under m_dataMutex.
    NoticeList m_ordinaryList;
    NoticeList m_importantList;
    NoticeStore m_importantStore;
    NoticeStore m_ordinaryStore;
    CNoticeRotation m_rotation;
    int m_firstBatchesDue = 0; ///< first batches of the last request() still to come
    mutable boost::recursive_mutex m_dataMutex;
    std::atomic<bool> m_ready{false}; ///< no batch is being merged

    QTimer* m_timer = nullptr;
    // Written by the worker; read on the GUI thread only after the worker was joined.
    TSMetaInfo m_szMeta;
    TSMetaInfo m_shMeta;
    std::atomic<int> m_szId{-1};
    std::atomic<int> m_shId{-1};
    boost::thread m_worker;

    QString m_title;
    QString m_content;
    QRect m_clipRect;
    int m_minWidth = 0; ///< measured when the font is set: the bar asks on every width change
    NoticeDialog* m_listDialog = nullptr;
    CNoticeInfoItemDialog* m_detailDialog = nullptr;
    CPushButton* m_button = nullptr;
    boost::shared_ptr<CNoticeRequestModel> m_model;
};
