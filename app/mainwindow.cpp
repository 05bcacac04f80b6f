#include "mainwindow.h"

#include "controlpanel.h"
#include "eventlog.h"
#include "messageview.h"
#include "quoteboard.h"
#include "quotesourcedialog.h"
#include "runningpaneldock.h"

#include <statusbar/performmonitordialog.h>
#include <statusbar/statusbar.h>
#include <statusbar/statusbarevents.h>

#include <terminalsim/backendsimulator.h>
#include <terminalhost/eventdeliverer.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/multiclientmanager.h>
#include <terminalhost/quoteclient.h>
#include <terminalhost/uiresource.h>

#include <QApplication>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr std::uint32_t kBoardSeedOffset = 7; // the board draws apart from the back end, yet repeats with it
constexpr int kEventLogHeight = 150;          // px; a few rows of events

// The services the order service menu offers, by the arg of its event.
constexpr int kFileOrderServiceArg = 1;
constexpr int kDbfOrderServiceArg = 3;
constexpr int kCsvOrderServiceArg = 4;

QString orderServiceName(int arg)
{
    switch (arg) {
    case kFileOrderServiceArg:
        // The menu names the file service after the user's rights; so does the window.
        return LuaModuleCtrl::checkModule({QStringLiteral("mdl_auth"), QStringLiteral("mdl_auth_order_service_rename")})
            ? QStringLiteral("便捷交易")
            : QStringLiteral("文件单");
    case kDbfOrderServiceArg:
        return QStringLiteral("批量埋单");
    case kCsvOrderServiceArg:
        return QStringLiteral("CSV预埋");
    default:
        return QString();
    }
}
}

CMainWindow::CMainWindow(std::uint32_t seed, bool simulate, double simSpeed, int floodRate, QWidget* parent)
    : QMainWindow(parent)
    , m_simulator(new CBackendSimulator(seed, this))
{
    setWindowTitle(QStringLiteral("模拟交易终端 — 状态栏演示"));
    m_simulator->setSpeedFactor(simSpeed);
    m_simulator->setFloodRate(floodRate);
    if (simulate)
        m_simulator->start();

    m_central = new QWidget(this);
    m_centralLayout = new QVBoxLayout(m_central);
    m_centralLayout->setContentsMargins(0, 0, 0, 0);
    m_centralLayout->setSpacing(0);
    setCentralWidget(m_central);

    // An inner main window carries the docks; the status bar goes below it and so spans the window.
    m_workspace = new QMainWindow(m_central);
    m_workspace->setWindowFlags(Qt::Widget);
    m_board = new CQuoteBoard(seed + kBoardSeedOffset, m_workspace);
    m_board->setMoving(simulate); // the board is the simulated market's, and rests with it
    m_workspace->setCentralWidget(m_board);
    m_centralLayout->addWidget(m_workspace, 1);

    m_panel = new CControlPanel(m_simulator, nullptr);
    auto* panelScroll = new QScrollArea;
    panelScroll->setWidget(m_panel);
    panelScroll->setWidgetResizable(true);
    panelScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panelScroll->setMinimumWidth(m_panel->minimumSizeHint().width() + panelScroll->verticalScrollBar()->sizeHint().width()
                                 + 2 * panelScroll->frameWidth());
    auto* panelDock = new QDockWidget(QStringLiteral("Control panel"), m_workspace);
    panelDock->setObjectName(QStringLiteral("control_panel_dock"));
    panelDock->setWidget(panelScroll);
    m_workspace->addDockWidget(Qt::RightDockWidgetArea, panelDock);

    m_eventLog = new CEventLog;
    auto* logDock = new QDockWidget(QStringLiteral("Event log — bus events reaching the main window"), m_workspace);
    logDock->setObjectName(QStringLiteral("event_log_dock"));
    logDock->setWidget(m_eventLog);
    m_workspace->addDockWidget(Qt::BottomDockWidgetArea, logDock);
    m_workspace->resizeDocks({logDock}, {kEventLogHeight}, Qt::Vertical);

    buildMenus();
    applyPalette();

    connect(m_panel, &CControlPanel::sigRebuildWanted, this, &CMainWindow::rebuildStatusBar);
    connect(m_panel, &CControlPanel::sigNote, m_eventLog, &CEventLog::addNote);
    connect(m_panel, &CControlPanel::sigSimulatorRunning, m_board, &CQuoteBoard::setMoving);
    connect(m_panel, &CControlPanel::sigFeedbackWanted, this, [this] {
        if (m_bar)
            m_bar->showClientFeedBack();
    });
    connectCompanionNotes();
    connect(m_panel, &CControlPanel::sigPerformMonitorWanted, this, &CMainWindow::showPerformMonitor);

    CEventDeliverer::setMainWindowHandler([this](int type, int id, int arg, const QString& text, void* data) {
        return handleBusEvent(type, id, arg, text, data);
    });
    rebuildStatusBar(QStringLiteral("start"));
}

CMainWindow::~CMainWindow()
{
    CEventDeliverer::setMainWindowHandler({});
    // The bar goes before the simulator and the panel it may still hear from.
    delete m_bar;
    m_bar = nullptr;
    m_simulator->stop();
}

void CMainWindow::connectCompanionNotes()
{
    CMultiClientManager* manager = CMultiClientManager::instance();
    const auto name = [](EClinetType type) {
        return type == ClientType_MiniTrade ? QStringLiteral("极简交易") : QStringLiteral("miniQuote");
    };
    connect(manager, &CMultiClientManager::sigOtherClientComplete, m_eventLog,
            [this] { m_eventLog->addNote(QStringLiteral("companion client up (sigOtherClientComplete)")); });
    connect(manager, &CMultiClientManager::sigClientRaised, m_eventLog, [this, name](EClinetType type) {
        m_eventLog->addNote(QStringLiteral("%1 came to the front (sigClientRaised, type %2)").arg(name(type)).arg(int(type)));
    });
    connect(manager, &CMultiClientManager::sigClientStartFailed, m_eventLog, [this](EClinetType type, const QString& message) {
        m_eventLog->addNote(QStringLiteral("%1 (sigClientStartFailed, type %2)").arg(message).arg(int(type)));
    });
    connect(manager, &CMultiClientManager::sigClientNotAnswering, m_eventLog, [this](EClinetType type, const QString& message) {
        m_eventLog->addNote(QStringLiteral("%1 (sigClientNotAnswering, type %2)").arg(message).arg(int(type)));
    });
}

void CMainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件"));
    file->addAction(QStringLiteral("退出"), this, &QWidget::close, QKeySequence::Quit);
    QMenu* view = menuBar()->addMenu(QStringLiteral("视图"));
    for (QDockWidget* dock : m_workspace->findChildren<QDockWidget*>())
        view->addAction(dock->toggleViewAction());
    view->addSeparator();
    view->addAction(QStringLiteral("行情源连接"), this, &CMainWindow::showQuoteSources);
    QMenu* diagnostics = menuBar()->addMenu(QStringLiteral("诊断"));
    diagnostics->addAction(QStringLiteral("性能监控"), this, &CMainWindow::showPerformMonitor);
}

void CMainWindow::rebuildStatusBar(const QString& reason)
{
    if (m_bar) {
        m_bar->killProcesses();
        // At once rather than later: the first live bar anchors the bar's tooltips.
        delete m_bar;
    }
    m_bar = new CStatusBar(m_central);
    m_barScale = CUiResource::instance()->getUIScale();
    m_centralLayout->addWidget(m_bar);
    connect(CQuoteClient::instance(), &CQuoteClient::sigQuoteConnectNum, m_bar, &CStatusBar::setNetStatus);
    // The quote items look at the connection only when the quote client announces it; announce the
    // current state again so that the new bar starts from it rather than from "disconnected".
    CQuoteClient::instance()->announce();
    m_bar->request();
    // The trade tag reads the accounts at construction; the back end reports their states again.
    m_simulator->republishLoginStatus();
    m_eventLog->addNote(QStringLiteral("status bar built (%1)").arg(reason));
}

bool CMainWindow::handleBusEvent(int type, int id, int arg, const QString& text, void*)
{
    bool handled = false;
    switch (type) {
    case StatusBarEvent::QuoteSources:
        showQuoteSources();
        handled = true;
        break;
    case StatusBarEvent::RunningOrders:
        showRunningOrders();
        handled = true;
        break;
    case StatusBarEvent::RunningTasks:
        showRunningTasks();
        handled = true;
        break;
    case StatusBarEvent::OpenOrderService:
        noteOrderServiceWanted(arg);
        handled = true;
        break;
    case StatusBarEvent::Messages:
        CMessageView::showFor(this);
        handled = true;
        break;
    default:
        break; // tooltips and clicks nobody wanted fall back to Qt's own handling
    }
    m_eventLog->addEvent(type, id, arg, text, handled);
    return handled;
}

void CMainWindow::showQuoteSources()
{
    if (!m_quoteSources) {
        m_quoteSources = new CQuoteSourceDialog(this);
        m_quoteSources->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_quoteSources->show();
    m_quoteSources->raise();
    m_quoteSources->activateWindow();
}

void CMainWindow::showPerformMonitor()
{
    // The monitor deletes itself when closed; the next request opens a fresh one.
    if (!m_performMonitor)
        m_performMonitor = new CPerformMonitorDialog(this);
    m_performMonitor->show();
    m_performMonitor->raise();
    m_performMonitor->activateWindow();
}

void CMainWindow::showRunningOrders()
{
    if (!m_runningOrders) {
        m_runningOrders = new CRunningPanelDock(CRunningPanelDock::Kind::Orders, m_workspace);
        placeRunningView(m_runningOrders);
    }
    m_runningOrders->showRunning();
}

void CMainWindow::showRunningTasks()
{
    if (!m_runningTasks) {
        m_runningTasks = new CRunningPanelDock(CRunningPanelDock::Kind::Tasks, m_workspace);
        placeRunningView(m_runningTasks);
    }
    m_runningTasks->showRunning();
}

void CMainWindow::placeRunningView(CRunningPanelDock* view)
{
    auto* log = m_workspace->findChild<QDockWidget*>(QStringLiteral("event_log_dock"));
    m_workspace->addDockWidget(Qt::BottomDockWidgetArea, view);
    if (log)
        m_workspace->tabifyDockWidget(log, view);
}

void CMainWindow::noteOrderServiceWanted(int arg)
{
    const QString name = orderServiceName(arg);
    if (auto* log = m_workspace->findChild<QDockWidget*>(QStringLiteral("event_log_dock")))
        log->raise(); // a running view may be in front of it
    // The demo terminal has no order service window of its own; it says which one was asked for.
    m_eventLog->addNote(name.isEmpty() ? QStringLiteral("打开下单服务: 未知服务 (arg %1)").arg(arg)
                                       : QStringLiteral("打开下单服务: %1 (arg %2)").arg(name).arg(arg));
}

void CMainWindow::themeChanged()
{
    applyPalette();
    m_board->applyTheme();
    // The bar fixes its items and widths when it is built, so a new scale needs a new bar. The bar's
    // own zoom control changes the scale from inside the bar, hence later, once that event is over;
    // when the control panel has already rebuilt the bar, nothing is left to do by then.
    QMetaObject::invokeMethod(this, &CMainWindow::followUiScale, Qt::QueuedConnection);
}

void CMainWindow::followUiScale()
{
    const double scale = CUiResource::instance()->getUIScale();
    if (m_bar && scale != m_barScale)
        rebuildStatusBar(QStringLiteral("UI scale = %1 % from the zoom control").arg(std::lround(scale * 100)));
}

void CMainWindow::applyPalette()
{
    const CUiResource* resource = CUiResource::instance();
    const auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)); };
    QPalette palette;
    palette.setColor(QPalette::Window, color("clr_dialog_background"));
    palette.setColor(QPalette::WindowText, color("clr_dialog_title_text"));
    palette.setColor(QPalette::Base, color("clr_main_statusbar_background"));
    palette.setColor(QPalette::AlternateBase, color("clr_dialog_title_background"));
    palette.setColor(QPalette::Text, color("clr_dialog_title_text"));
    palette.setColor(QPalette::Button, color("clr_dialog_title_background"));
    palette.setColor(QPalette::ButtonText, color("clr_dialog_title_text"));
    palette.setColor(QPalette::Highlight, color("clr_menu_selected_background"));
    palette.setColor(QPalette::HighlightedText, color("clr_menu_text"));
    palette.setColor(QPalette::Mid, color("clr_border_default"));
    palette.setColor(QPalette::Dark, color("clr_border_default"));
    palette.setColor(QPalette::ToolTipBase, color("ic_clr_tooltipcolor_bg"));
    palette.setColor(QPalette::ToolTipText, color("clr_global_black"));
    palette.setColor(QPalette::Disabled, QPalette::Text, color("clr_border_default"));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, color("clr_border_default"));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, color("clr_border_default"));
    QApplication::setPalette(palette);
}

void CMainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (m_bar)
        m_bar->updateMoveWidget();
}

void CMainWindow::closeEvent(QCloseEvent* event)
{
    if (m_bar)
        m_bar->killProcesses();
    QMainWindow::closeEvent(event);
}
