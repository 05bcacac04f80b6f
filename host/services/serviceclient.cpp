#include "serviceclient.h"

namespace {
const char kServerVersion[] = "3.8.2 (sim)";
}

RPCClient::RPCClient()
    : m_connection(std::make_unique<NetConnection>())
{
}

CServiceClient* CServiceClient::instance()
{
    static CServiceClient* client = new CServiceClient; // lives for the process
    return client;
}

CServiceClient::CServiceClient()
    : m_client(std::make_unique<RPCClient>())
{
    reset();
}

void CServiceClient::reset()
{
    m_hasClient = true;
    m_client->setConnected(true);
    m_client->getConnection()->setDelay(0.0);
    m_serverVersion = QLatin1String(kServerVersion);
}

CServiceClient* getServiceClient()
{
    return CServiceClient::instance();
}
