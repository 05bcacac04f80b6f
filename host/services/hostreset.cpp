#include "hostreset.h"

#include <terminalhost/advicefeedbackdialog.h>
#include <terminalhost/appconfig.h>
#include <terminalhost/config.h>
#include <terminalhost/datacenter.h>
#include <terminalhost/eventdeliverer.h>
#include <terminalhost/formulamanager.h>
#include <terminalhost/logcenter.h>
#include <terminalhost/messagebox.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/msgservice.h>
#include <terminalhost/multiclientmanager.h>
#include <terminalhost/orderservice.h>
#include <terminalhost/processmemory.h>
#include <terminalhost/quotechannelserver.h>
#include <terminalhost/quoteclient.h>
#include <terminalhost/serviceclient.h>
#include <terminalhost/stockmanager.h>
#include <terminalhost/strategytrademanager.h>
#include <terminalhost/timeservice.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

void resetHost()
{
    CAppConfig::setClientType(0);
    getUserConfig()->reset();
    getConfig()->reset();
    LuaModuleCtrl::reset();
    CTradeClient::instance()->reset();
    CQuoteClient::instance()->reset();
    TraderCenter::instance()->getDataCenter()->reset();
    CStrategyTradeManager::instance()->reset();
    COrderService::instance()->reset();
    getServiceClient()->reset();
    getTimeService()->setTicking(false);
    CFormulaManager::instance()->reset();
    CStockManager::instance()->reset();
    CMsgService::instance()->reset();
    CLogCenter::instance()->reset();
    CProcessMemory::instance()->reset();
    CUiResource::instance()->reset();
    CEventDeliverer::setMainWindowHandler({});
    CMessageBox::setPresenter({});
    CMultiClientManager::instance()->reset();
    CQuoteChannelServer::instance()->reset();
    CAdviceFeedBackDialog::setFeedbackDir({});
}
