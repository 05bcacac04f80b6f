#pragma once

/**
 * @brief The bus events of the status bar module, beyond the toolkit's own types (EEventType).
 *
 * Items send the first five to the main window as event types, with an empty text and id 0 (the
 * message count sends Messages with id -1: the message view as a whole).
 * The bar itself handles 1282 as a type, and 1133 and 1144 as ids of an activation (type 5).
 */
namespace StatusBarEvent {
constexpr int OpenOrderService = 1080; ///< arg names the order service to open
constexpr int QuoteSources = 1081;     ///< show the quote source connections
constexpr int RunningOrders = 1198;    ///< show the running orders
constexpr int RunningTasks = 1199;     ///< show the running tasks
constexpr int Messages = 1201;         ///< show the messages
constexpr int TradeToolTip = 1282;     ///< arg 0 shows the trade account tooltip, anything else hides it

constexpr int IdPassedToList = 1133;   ///< an activation the bar hands to its widget list
constexpr int IdNetSpeedChart = 1144;  ///< an activation that opens the latency chart
}
