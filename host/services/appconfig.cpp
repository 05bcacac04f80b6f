#include "appconfig.h"

#include <atomic>

namespace {
std::atomic<int> g_clientType{0};
}

bool CAppConfig::isClientType(int type)
{
    return g_clientType.load() == type;
}

int CAppConfig::clientType()
{
    return g_clientType.load();
}

void CAppConfig::setClientType(int type)
{
    g_clientType.store(type);
}
