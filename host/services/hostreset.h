#pragma once

#include <terminalhost/terminalhost_export.h>

/**
 * @brief Puts every host service and the resource registry back to their defaults: full trading
 * terminal (client type 0), no accounts, no quote subscriptions, announcements, instruments or
 * messages, dark theme at scale 1, no debug logging, no unconsumed-event handler. The time service
 * stops ticking so that only explicit publishTime calls move the clock. Every companion program the
 * terminal started ends, and feedback reports go to the user's data directory again.
 */
TERMINALHOST_EXPORT void resetHost();
