#pragma once

/**
 * @brief The bus events of the status bar module, beyond the toolkit's own types (EEventType).
 *
 * Items send the first five to the main window as event types, with an empty text and id 0 (the
 * message count sends Messages with id -1: the message view as a whole).
 * The bar itself handles 1282 as a type, and 1133 and 1144 as ids of an activation (type 5).
 * The diagnostic pages send 1000 and 1266 from their table rows to themselves.
 */
namespace StatusBarEvent {
constexpr int OpenOrderService = 1080; ///< arg names the order service to open
constexpr int QuoteSources = 1081;     ///< show the quote source connections
constexpr int RunningOrders = 1198;    ///< show the running orders
constexpr int RunningTasks = 1199;     ///< show the running tasks
constexpr int Messages = 1201;         ///< show the messages
constexpr int TradeToolTip = 1282;     ///< arg 0 shows the trade account tooltip, anything else hides it
constexpr int QuoterCodes = 1000;      ///< a count on the quote monitor: id the quote source type, arg 1 its full push codes, 0 its single codes
constexpr int MemoryOperation = 1266;  ///< a button of a memory manager row: id the row id, arg 0 details, 1 delete

constexpr int IdPassedToList = 1133;   ///< an activation the bar hands to its widget list
constexpr int IdNetSpeedChart = 1144;  ///< an activation that opens the latency chart
}
