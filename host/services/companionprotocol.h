#pragma once

/**
 * @brief What the terminal and its companion programs say to each other.
 *
 * The terminal starts a companion with the options below and keeps a pipe to each of its standard
 * streams. The companion writes one report per line to its standard output; the terminal writes
 * one command per line to the companion's standard input. A managed companion quits when its
 * standard input closes, so it never outlives the terminal that started it, even one that crashed.
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

/// Report: the companion is up and listening.
inline constexpr char kReadyReport[] = "ready";
/// Report: the companion's window came to the front on request.
inline constexpr char kAwakeReport[] = "awake";
/// Command: bring the window to the front.
inline constexpr char kRaiseCommand[] = "raise";
}
