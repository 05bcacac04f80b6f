#pragma once

/**
 * @brief What the terminal and its companion programs say to each other.
 *
 * The terminal starts a companion with the options below and keeps a pipe to each of its standard
 * streams. The companion writes one report per line to its standard output; the terminal writes
 * one command per line to the companion's standard input. A managed companion quits when its
 * standard input closes, so it never outlives the terminal that started it, even one that crashed.
 * The mini quote client also reads the terminal's quotes from a local socket, one line each way.
 */
namespace CompanionProtocol {
/// Started by the terminal: report on stdout, obey stdin, quit when stdin closes.
inline constexpr char kManagedOption[] = "managed";
/// The theme whose colours the companion's window takes ("dark", "light").
inline constexpr char kThemeOption[] = "theme";
/// The file whose change wakes the mini quote client.
inline constexpr char kSignalFileOption[] = "signal-file";
/// Start resident with the window hidden until the first wake.
inline constexpr char kBackgroundOption[] = "background";
/// The terminal's quote channel (a local socket, CQuoteChannelServer) the mini quote client reads.
inline constexpr char kQuoteChannelOption[] = "quote-channel";

/// Report: the companion is up and listening.
inline constexpr char kReadyReport[] = "ready";
/// Report: the companion's window came to the front on request.
inline constexpr char kAwakeReport[] = "awake";
/// Command: bring the window to the front.
inline constexpr char kRaiseCommand[] = "raise";

/// On the quote channel, the companion's request: "subscribe SH000001 SZ399001 ...".
inline constexpr char kSubscribeCommand[] = "subscribe";
/// On the quote channel, one quote: "quote SH000001 <last> <previous close>".
inline constexpr char kQuoteReport[] = "quote";
}
