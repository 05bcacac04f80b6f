#pragma once

#include <QString>

class QCoreApplication;

/// @brief How the terminal started a companion program (see CompanionProtocol).
struct CompanionOptions {
    bool managed = false;    ///< started by the terminal, which listens on stdout
    bool background = false; ///< start with the window hidden until the first wake
    QString theme;           ///< empty: the default theme
    QString signalFile;      ///< the file whose change wakes the window; mini quote client only
    QString quoteChannel;    ///< the terminal's quote channel; mini quote client only, empty without one
};

/// Reads the command line; miniQuote adds the mini quote client's options. A program run by hand
/// without a signal file watches the one the terminal would give it. Unknown options end the
/// program with a message, as any command-line tool does.
CompanionOptions parseCompanionOptions(const QCoreApplication& app, const QString& description, bool miniQuote);

/// Gives the whole program the terminal's look: the Fusion style, the theme's CJK font and the
/// theme's colours. An unknown theme keeps the default one and says so on stderr.
void applyTerminalLook(const QString& theme);
