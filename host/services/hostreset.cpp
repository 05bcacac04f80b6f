#include "hostreset.h"

#include "appconfig.h"
#include "config.h"
#include "datacenter.h"
#include "eventdeliverer.h"
#include "logcenter.h"
#include "luamodulectrl.h"
#include "orderservice.h"
#include "quoteclient.h"
#include "serviceclient.h"
#include "strategytrademanager.h"
#include "timeservice.h"
#include "tradeclient.h"
#include "uiresource.h"
#include "userconfig.h"

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
    CLogCenter::instance()->reset();
    CUiResource::instance()->reset();
    CEventDeliverer::setMainWindowHandler({});
}
