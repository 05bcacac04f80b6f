#pragma once

#include <terminalhost/terminalhost_export.h>

/**
 * @brief What kind of terminal this process is. Client type 0 is the full trading terminal; other
 * types are the quote-only and companion clients.
 */
class TERMINALHOST_EXPORT CAppConfig
{
public:
    static bool isClientType(int type);
    static int clientType();
    static void setClientType(int type);
};
