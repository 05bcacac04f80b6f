#include "controlpanel.h"
#include "marketcontrols.h"

#include "demooptions.h"

#include <terminalhost/appconfig.h>
#include <terminalsim/backendsimulator.h>
#include <terminalhost/config.h>
#include <terminalhost/logcenter.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/multiclientmanager.h>
#include <terminalhost/processmemory.h>
#include <terminalhost/quoteclient.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kMinScalePercent = 80;  // the zoom control's own range and step
constexpr int kMaxScalePercent = 200;
constexpr int kScaleStepPercent = 10;
constexpr int kQuoteOnlyMode = 2;
constexpr double kSimSpeedStep = 0.5;
constexpr int kMinFloodRate = 1000;          // updates/s; below this the flood is no storm
constexpr int kFloodRateStep = 50000;
constexpr int kLoadPeriodMs = 1000;
constexpr int kLagProbeMs = 50;              // the probe's interval; lateness beyond it is lag
constexpr int kLagWarmUpMs = 3000;           // start-up (fonts, the web engine) is not the lag a user watches
constexpr int kCompanionPollMs = 250;        // how often the companions' states are read
const char kLogDirVariable[] = "STATUSBAR_LOG_DIR";
const char kDebugLogFile[] = "statusbar-debug.log";

struct UserFlag {
    const char* name;
    bool (CUserConfig::*get)() const;
    void (CUserConfig::*set)(bool);
};
const UserFlag kUserFlags[] = {
    {"isOnlyShowTradeModule", &CUserConfig::isOnlyShowTradeModule, &CUserConfig::setOnlyShowTradeModule},
    {"isSimpledModelLogin", &CUserConfig::isSimpledModelLogin, &CUserConfig::setSimpledModelLogin},
    {"isUseMiniLogin", &CUserConfig::isUseMiniLogin, &CUserConfig::setUseMiniLogin},
    {"hasOrderService", &CUserConfig::hasOrderService, &CUserConfig::setHasOrderService},
    {"canShowTradeType", &CUserConfig::canShowTradeType, &CUserConfig::setCanShowTradeType},
    // The order service menu's rows are fixed when it first opens; a new bar offers the new set.
    {"hasFileOrderService", &CUserConfig::hasFileOrderService, &CUserConfig::setHasFileOrderService},
    {"hasDbfOrderService", &CUserConfig::hasDbfOrderService, &CUserConfig::setHasDbfOrderService},
    {"hasCsvOrderService", &CUserConfig::hasCsvOrderService, &CUserConfig::setHasCsvOrderService},
    {"isVarnoClientMode", &CUserConfig::isVarnoClientMode, &CUserConfig::setVarnoClientMode},
    {"isVarnoQuoteMode", &CUserConfig::isVarnoQuoteMode, &CUserConfig::setVarnoQuoteMode},
};

struct ModuleRight {
    const char* group;
    const char* module;
    const char* hint;
};
const ModuleRight kModuleRights[] = {
    {"mdl_itsm", "mdl_itsm_system_user_feed_back", "granted: the terminal's own service desk replaces the bar's feedback button"},
    {"mdl_auth", "mdl_auth_tolvex", "granted: the bar offers the mini quote client launcher"},
    {"mdl_auth", "mdl_auth_order_service_rename", "granted: the order service menu calls the file service 便捷交易"},
};

QString loginStatusText(int status)
{
    switch (status) {
    case BROKER_LOGIN_SUCCESS:
        return QStringLiteral("登录成功");
    case BROKER_LOGIN_CONNECTING:
        return QStringLiteral("登录中");
    case BROKER_LOGIN_DISCONNECTED:
        return QStringLiteral("断开");
    case BROKER_LOGIN_FAILED:
        return QStringLiteral("登录失败");
    default:
        return QStringLiteral("状态 %1").arg(status);
    }
}

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

// A wheel turned to scroll the panel must not change the spin box or choice that passes under the
// pointer: they take the wheel only once clicked or tabbed into, and otherwise hand it on unaccepted,
// so that the panel's scroll area scrolls.
class CWheelWhenFocused : public QObject
{
public:
    using QObject::QObject;

    void guard(QWidget* widget)
    {
        widget->setFocusPolicy(Qt::StrongFocus); // the wheel itself no longer gives the focus
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus())
            return false;
        event->ignore();
        return true;
    }
};
}

CControlPanel::CControlPanel(CBackendSimulator* simulator, QWidget* parent)
    : QWidget(parent)
    , m_simulator(simulator)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(buildTerminalGroup());
    layout->addWidget(buildUserConfigGroup());
    layout->addWidget(buildRightsGroup());
    layout->addWidget(buildCompanionsGroup());
    layout->addWidget(buildAppearanceGroup());
    layout->addWidget(buildBackEndGroup());
    auto* market = new CMarketControls(simulator->marketInfo(), this);
    connect(market, &CMarketControls::sigNote, this, &CControlPanel::sigNote);
    layout->addWidget(market);
    layout->addWidget(buildDiagnosticsGroup());

    auto* rebuild = new QPushButton(QStringLiteral("Rebuild the status bar"), this);
    connect(rebuild, &QPushButton::clicked, this, [this] { emit sigRebuildWanted(QStringLiteral("rebuilt by hand")); });
    layout->addWidget(rebuild);
    layout->addStretch(1);

    auto* wheelGuard = new CWheelWhenFocused(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractSpinBox*>(child) || qobject_cast<QComboBox*>(child))
            wheelGuard->guard(child);
    }
}

QCheckBox* CControlPanel::addSwitch(QFormLayout* layout, const QString& name, bool initial, std::function<void(bool)> apply)
{
    auto* box = new QCheckBox(name, this);
    box->setChecked(initial);
    connect(box, &QCheckBox::toggled, this, [this, name, apply](bool on) {
        apply(on);
        emit sigRebuildWanted(QStringLiteral("%1 = %2").arg(name, onOff(on)));
    });
    layout->addRow(box);
    return box;
}

QGroupBox* CControlPanel::buildTerminalGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Terminal"), this);
    auto* form = new QFormLayout(group);

    auto* clientType = new QComboBox(group);
    clientType->addItem(QStringLiteral("0 — trading terminal"), 0);
    clientType->addItem(QStringLiteral("1 — quote client"), 1);
    const int currentType = CAppConfig::clientType();
    if (clientType->findData(currentType) < 0)
        clientType->addItem(QString::number(currentType), currentType);
    clientType->setCurrentIndex(clientType->findData(currentType));
    connect(clientType, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this, clientType](int index) {
        const int type = clientType->itemData(index).toInt();
        CAppConfig::setClientType(type);
        emit sigRebuildWanted(QStringLiteral("client type = %1").arg(type));
    });
    form->addRow(QStringLiteral("Client type"), clientType);

    auto* mode = new QSpinBox(group);
    mode->setRange(0, CDemoOptions::kMaxMode);
    mode->setValue(getUserConfig()->mode);
    mode->setKeyboardTracking(false);
    mode->setToolTip(QStringLiteral("%1 is the quote-only layout").arg(kQuoteOnlyMode));
    connect(mode, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int value) {
        getUserConfig()->mode = value;
        emit sigRebuildWanted(QStringLiteral("mode = %1").arg(value));
    });
    form->addRow(QStringLiteral("Mode (%1 = quote only)").arg(kQuoteOnlyMode), mode);

    addSwitch(form, QStringLiteral("CConfig useWebView"), getConfig()->useWebView(),
              [](bool on) { getConfig()->setUseWebView(on); });
    addSwitch(form, QStringLiteral("CConfig showClientLauncher"), getConfig()->showClientLauncher(),
              [](bool on) { getConfig()->setShowClientLauncher(on); });
    return group;
}

QGroupBox* CControlPanel::buildUserConfigGroup()
{
    auto* group = new QGroupBox(QStringLiteral("User configuration"), this);
    auto* form = new QFormLayout(group);
    for (const UserFlag& flag : kUserFlags) {
        const auto set = flag.set;
        addSwitch(form, QString::fromLatin1(flag.name), (getUserConfig()->*flag.get)(),
                  [set](bool on) { (getUserConfig()->*set)(on); });
    }

    // Read by the counters on each click, so the bar stays as it is.
    auto* popup = new QCheckBox(QStringLiteral("popupRunningPanels"), group);
    popup->setChecked(getUserConfig()->popupRunningPanels);
    popup->setToolTip(QStringLiteral("on: clicking the running orders or tasks counter opens the popup panel; "
                                     "off: the main window shows its own view"));
    connect(popup, &QCheckBox::toggled, this, [this](bool on) {
        getUserConfig()->popupRunningPanels = on;
        emit sigNote(QStringLiteral("popupRunningPanels = %1").arg(onOff(on)));
    });
    form->addRow(popup);
    return group;
}

QGroupBox* CControlPanel::buildRightsGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Module rights"), this);
    auto* form = new QFormLayout(group);
    for (const ModuleRight& right : kModuleRights) {
        const QStringList keys{QString::fromLatin1(right.group), QString::fromLatin1(right.module)};
        QCheckBox* box = addSwitch(form, keys.join(QStringLiteral(" / ")), LuaModuleCtrl::checkModule(keys),
                                   [keys](bool on) { LuaModuleCtrl::setModule(keys, on); });
        box->setToolTip(QString::fromLatin1(right.hint));
    }
    return group;
}

QGroupBox* CControlPanel::buildAppearanceGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Appearance"), this);
    auto* form = new QFormLayout(group);

    m_theme = new QComboBox(group);
    syncThemeChoice();
    connect(m_theme, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        const QString choice = m_theme->itemData(index).toString();
        QString error;
        const bool ok = CUiResource::builtInThemes().contains(choice) ? CUiResource::instance()->setTheme(choice, &error)
                                                                     : CUiResource::instance()->loadThemeFile(choice, &error);
        emit sigNote(ok ? QStringLiteral("theme %1").arg(choice) : error);
        syncThemeChoice(); // a failed load keeps the current theme; show it again
    });
    form->addRow(QStringLiteral("Theme"), m_theme);

    m_scale = new QSpinBox(group);
    m_scale->setObjectName(QStringLiteral("ui_scale"));
    m_scale->setRange(kMinScalePercent, kMaxScalePercent);
    m_scale->setSingleStep(kScaleStepPercent);
    m_scale->setSuffix(QStringLiteral(" %"));
    m_scale->setKeyboardTracking(false);
    m_scale->setValue(static_cast<int>(std::lround(CUiResource::instance()->getUIScale() * 100)));
    connect(m_scale, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int percent) {
        CUiResource::instance()->setUIScale(percent / 100.0);
        // The zoom control shows the scale the bar was built with; a new bar shows this one.
        emit sigRebuildWanted(QStringLiteral("UI scale = %1 %").arg(percent));
    });
    form->addRow(QStringLiteral("UI scale"), m_scale);
    return group;
}

QGroupBox* CControlPanel::buildBackEndGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Simulated back end"), this);
    auto* form = new QFormLayout(group);

    m_simulatorRunning = new QCheckBox(QStringLiteral("Simulator running"), group);
    m_simulatorRunning->setChecked(m_simulator->isRunning());
    connect(m_simulatorRunning, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_simulator->start();
        else
            m_simulator->stop();
        followFlood();
        emit sigSimulatorRunning(on);
        emit sigNote(on ? QStringLiteral("simulator started") : QStringLiteral("simulator stopped"));
    });
    form->addRow(m_simulatorRunning);

    m_simSpeed = new QDoubleSpinBox(group);
    m_simSpeed->setObjectName(QStringLiteral("sim_speed"));
    m_simSpeed->setRange(CDemoOptions::kMinSimSpeed, CDemoOptions::kMaxSimSpeed);
    m_simSpeed->setSingleStep(kSimSpeedStep);
    m_simSpeed->setDecimals(1);
    m_simSpeed->setSuffix(QStringLiteral(" ×"));
    m_simSpeed->setValue(m_simulator->speedFactor());
    connect(m_simSpeed, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            [this](double factor) { m_simulator->setSpeedFactor(factor); });
    form->addRow(QStringLiteral("Speed"), m_simSpeed);

    m_networkState = new QLabel(QStringLiteral("—"), group);
    m_quoteState = new QLabel(group);
    m_loginState = new QLabel(QStringLiteral("—"), group);
    m_loginState->setWordWrap(true);
    form->addRow(QStringLiteral("Network"), m_networkState);
    form->addRow(QStringLiteral("Quote sources"), m_quoteState);
    form->addRow(QStringLiteral("Accounts"), m_loginState);
    showQuoteSources(CQuoteClient::instance()->quoteConnectNum());

    m_flood = new QCheckBox(QStringLiteral("Flood of order updates"), group);
    m_flood->setToolTip(QStringLiteral("Several threads publish order updates at the rate below"));
    m_floodRate = new QSpinBox(group);
    m_floodRate->setObjectName(QStringLiteral("flood_rate"));
    m_floodRate->setRange(kMinFloodRate, CBackendSimulator::kMaxFloodRate);
    m_floodRate->setSingleStep(kFloodRateStep);
    m_floodRate->setSuffix(QStringLiteral(" /s"));
    m_floodRate->setKeyboardTracking(false);
    m_floodRate->setValue(m_simulator->floodRate() > 0 ? m_simulator->floodRate() : CBackendSimulator::kDefaultFloodRate);
    m_flood->setChecked(m_simulator->floodRate() > 0);
    connect(m_flood, &QCheckBox::toggled, this, [this](bool on) { m_simulator->setFloodRate(on ? m_floodRate->value() : 0); });
    connect(m_floodRate, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int rate) {
        if (m_flood->isChecked())
            m_simulator->setFloodRate(rate);
    });
    connect(m_simulator, &CBackendSimulator::sigFloodRateChanged, this, [this](int rate) {
        const QSignalBlocker blockBox(m_flood);
        const QSignalBlocker blockRate(m_floodRate);
        m_flood->setChecked(rate > 0);
        if (rate > 0)
            m_floodRate->setValue(rate);
        followFlood();
        emit sigNote(rate > 0 ? QStringLiteral("flood on: %1 order updates/s").arg(rate) : QStringLiteral("flood off"));
    });
    form->addRow(m_flood);
    form->addRow(QStringLiteral("Flood rate"), m_floodRate);

    m_load = new QLabel(QStringLiteral("—"), group);
    m_load->setWordWrap(true);
    m_load->setToolTip(QStringLiteral("Order updates the back end published in the last second and, while a flood runs, "
                                      "how late the GUI thread ran its timers (the bar's counters tick every 500 ms)"));
    form->addRow(QStringLiteral("Load"), m_load);
    m_loadTimer = new QTimer(this);
    connect(m_loadTimer, &QTimer::timeout, this, &CControlPanel::showLoad);
    m_loadTimer->start(kLoadPeriodMs);
    m_loadClock.start();
    m_lagProbe = new QTimer(this);
    m_lagProbe->setTimerType(Qt::PreciseTimer);
    m_lagProbe->setInterval(kLagProbeMs);
    connect(m_lagProbe, &QTimer::timeout, this, &CControlPanel::probeGuiLag);
    m_loadClockStarted.start();
    followFlood();

    connect(m_simulator, &CBackendSimulator::sigNetworkStep, this, &CControlPanel::showNetwork);
    // Login reports come from the simulator's worker thread; the context object queues them here.
    connect(m_simulator, &CBackendSimulator::sigLoginReported, this, &CControlPanel::showLogin);
    connect(CQuoteClient::instance(), &CQuoteClient::sigQuoteConnectNum, this, &CControlPanel::showQuoteSources);
    return group;
}

QGroupBox* CControlPanel::buildDiagnosticsGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Diagnostics"), this);
    auto* layout = new QVBoxLayout(group);
    auto* debugLog = new QCheckBox(QStringLiteral("Debug log (id %1)").arg(CLogCenter::kNetSpeedDebugId), group);
    debugLog->setChecked(CLogCenter::instance()->fileLogEnabled(CLogCenter::kNetSpeedDebugId));
    debugLog->setToolTip(QStringLiteral("Every 5 s the bar writes the measured delay to the debug log"));
    connect(debugLog, &QCheckBox::toggled, this, [this](bool on) {
        CLogCenter::instance()->setFileLogEnabled(CLogCenter::kNetSpeedDebugId, on);
        emit sigNote(QStringLiteral("debug log (id %1) %2").arg(CLogCenter::kNetSpeedDebugId).arg(onOff(on)));
    });
    layout->addWidget(debugLog);

    auto* trimLog = new QCheckBox(QStringLiteral("Debug log (id %1)").arg(CProcessMemory::kTrimDebugId), group);
    trimLog->setChecked(CLogCenter::instance()->fileLogEnabled(CProcessMemory::kTrimDebugId));
    trimLog->setToolTip(QStringLiteral("清理内存 writes the resident size before and after to the debug log"));
    connect(trimLog, &QCheckBox::toggled, this, [this](bool on) {
        CLogCenter::instance()->setFileLogEnabled(CProcessMemory::kTrimDebugId, on);
        emit sigNote(QStringLiteral("debug log (id %1) %2").arg(CProcessMemory::kTrimDebugId).arg(onOff(on)));
    });
    layout->addWidget(trimLog);

    auto* monitor = new QPushButton(QStringLiteral("性能监控"), group);
    monitor->setToolTip(QStringLiteral("Open the performance monitor: quote subscriptions, object counts, the formula engine's memory"));
    connect(monitor, &QPushButton::clicked, this, &CControlPanel::sigPerformMonitorWanted);
    layout->addWidget(monitor);

    const QString logDir = qEnvironmentVariable(kLogDirVariable);
    const QString path = logDir.isEmpty() ? QStringLiteral("(log directory not configured)")
                                          : QDir::toNativeSeparators(QDir(logDir).filePath(QLatin1String(kDebugLogFile)));
    m_logPath = new QLabel(path, group);
    m_logPath->setWordWrap(true);
    m_logPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_logPath);
    return group;
}

QGroupBox* CControlPanel::buildCompanionsGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Companion clients and feedback"), this);
    auto* form = new QFormLayout(group);
    m_miniTradeState = new QLabel(group);
    m_miniQuoteState = new QLabel(group);
    form->addRow(QStringLiteral("极简交易"), m_miniTradeState);
    form->addRow(QStringLiteral("miniQuote"), m_miniQuoteState);
    showCompanionStates();
    // The manager reports when a companion is up, not when it ended: the panel reads the states.
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &CControlPanel::showCompanionStates);
    poll->start(kCompanionPollMs);

    // Read on each click of the feedback button, so the bar stays as it is.
    const QStringList webFeedback{QStringLiteral("mdl_auth"), QStringLiteral("mdl_auth_goto_advice_feed_back_url")};
    auto* web = new QCheckBox(webFeedback.join(QStringLiteral(" / ")), group);
    web->setChecked(LuaModuleCtrl::checkModule(webFeedback));
    web->setToolTip(QStringLiteral("granted: the feedback button opens the feedback address instead of the dialog"));
    connect(web, &QCheckBox::toggled, this, [this, webFeedback](bool on) {
        LuaModuleCtrl::setModule(webFeedback, on);
        emit sigNote(QStringLiteral("%1 = %2").arg(webFeedback.join(QStringLiteral(" / ")), onOff(on)));
    });
    form->addRow(web);

    m_feedbackAddress = new QLineEdit(getConfig()->feedbackAddress(), group);
    m_feedbackAddress->setPlaceholderText(QStringLiteral("none: the button opens nothing"));
    m_feedbackAddress->setToolTip(QStringLiteral("CConfig feedbackAddress; an address without a scheme opens as http://"));
    connect(m_feedbackAddress, &QLineEdit::editingFinished, this, [this] {
        const QString address = m_feedbackAddress->text().trimmed();
        if (address == getConfig()->feedbackAddress())
            return;
        getConfig()->setFeedbackAddress(address);
        emit sigNote(address.isEmpty() ? QStringLiteral("feedback address cleared") : QStringLiteral("feedback address %1").arg(address));
    });
    form->addRow(QStringLiteral("Feedback address"), m_feedbackAddress);

    auto* capture = new QPushButton(QStringLiteral("Feedback with screen capture"), group);
    capture->setToolTip(QStringLiteral("CStatusBar::showClientFeedBack(): the feedback dialog with a picture of this window"));
    connect(capture, &QPushButton::clicked, this, &CControlPanel::sigFeedbackWanted);
    form->addRow(capture);
    return group;
}

void CControlPanel::showCompanionStates()
{
    const CMultiClientManager* manager = CMultiClientManager::instance();
    const auto state = [manager](EClinetType type) {
        if (!manager->isClientRuning(type))
            return QStringLiteral("not running");
        if (!manager->isClientReady(type))
            return QStringLiteral("starting");
        if (manager->isClientUnresponsive(type))
            return QStringLiteral("not answering (pid %1)").arg(manager->processId(type));
        return QStringLiteral("running (pid %1)").arg(manager->processId(type));
    };
    m_miniTradeState->setText(state(ClientType_MiniTrade));
    m_miniQuoteState->setText(state(ClientType_MiniQuote));
}

void CControlPanel::showNetwork(double delayMs, bool connected)
{
    m_networkState->setText(connected ? QStringLiteral("%1 ms").arg(delayMs, 0, 'f', 1) : QStringLiteral("disconnected"));
}

void CControlPanel::showQuoteSources(int count)
{
    m_quoteState->setText(QStringLiteral("%1 connected, quote+trade %2")
                              .arg(count)
                              .arg(isHasQuoteTradeConnect() ? QStringLiteral("up") : QStringLiteral("down")));
}

void CControlPanel::showLogin(const QString& accountId, int status)
{
    m_loginStatus.insert(accountId, status);
    QStringList lines;
    for (auto it = m_loginStatus.cbegin(); it != m_loginStatus.cend(); ++it)
        lines << QStringLiteral("%1: %2").arg(it.key(), loginStatusText(it.value()));
    m_loginState->setText(lines.join(QLatin1Char('\n')));
}

void CControlPanel::probeGuiLag()
{
    const int lag = static_cast<int>(m_lagClock.restart()) - kLagProbeMs;
    m_lagThisPeriodMs = std::max(m_lagThisPeriodMs, lag);
    if (m_loadClockStarted.elapsed() >= kLagWarmUpMs)
        m_worstLagMs = std::max(m_worstLagMs, lag);
}

void CControlPanel::followFlood()
{
    const bool flooding = m_simulator->isFlooding();
    if (flooding == m_lagProbe->isActive())
        return;
    if (flooding) {
        // The probe measures from its own start: the quiet time before is no lag.
        m_lagClock.start();
        m_lagThisPeriodMs = 0;
        m_lagProbe->start();
    } else {
        m_lagProbe->stop();
    }
}

void CControlPanel::showLoad()
{
    const double seconds = m_loadClock.restart() / 1000.0;
    const std::uint64_t orders = m_simulator->publishedOrderUpdates();
    const std::uint64_t flood = m_simulator->publishedFloodUpdates();
    const auto perSecond = [seconds](std::uint64_t now, std::uint64_t before) {
        return seconds > 0.0 ? static_cast<qint64>(std::llround((now - before) / seconds)) : 0;
    };
    QString text = QStringLiteral("orders: %L1 updates/s\nof which flood: %L2/s")
                       .arg(perSecond(orders, m_lastOrderUpdates))
                       .arg(perSecond(flood, m_lastFloodUpdates));
    if (m_lagProbe->isActive())
        text += QStringLiteral("\nGUI timers late by ≤ %1 ms").arg(std::max(0, m_lagThisPeriodMs));
    m_load->setText(text);
    m_lastOrderUpdates = orders;
    m_lastFloodUpdates = flood;
    m_lagThisPeriodMs = 0;
}

void CControlPanel::syncThemeChoice()
{
    const QSignalBlocker blocker(m_theme);
    for (const QString& name : CUiResource::builtInThemes()) {
        if (m_theme->findData(name) < 0)
            m_theme->addItem(name, name);
    }
    const QString current = CUiResource::instance()->themeName();
    if (m_theme->findData(current) < 0)
        m_theme->addItem(QFileInfo(current).fileName(), current); // a theme loaded from a file
    m_theme->setCurrentIndex(m_theme->findData(current));
}

void CControlPanel::themeChanged()
{
    syncThemeChoice();
    const QSignalBlocker blocker(m_scale);
    m_scale->setValue(static_cast<int>(std::lround(CUiResource::instance()->getUIScale() * 100)));
}
