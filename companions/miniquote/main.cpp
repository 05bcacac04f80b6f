// The mini quote client: a small always-at-hand window of the terminal's index quotes. The
// terminal starts it on request, or at its own start-up with the window hidden; touching the
// signal file brings the window to the front.
#include "companionchannel.h"
#include "companionoptions.h"
#include "indexquoteboard.h"
#include "indexquotefeed.h"
#include "signalfilewatcher.h"
#include "windowwaker.h"

#include <terminalhost/commondialog.h>

#include <QApplication>
#include <QDebug>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("miniquote-client"));
    const CompanionOptions options = parseCompanionOptions(app, QStringLiteral("miniQuote: index quotes beside the terminal"), true);
    applyTerminalLook(options.theme);

    CCompanionChannel channel(options.managed);
    CCommonDialog window(nullptr);
    window.setTitle(QStringLiteral("miniQuote"));
    auto* board = new CIndexQuoteBoard;
    window.setInnerWidget(board);
    // The board shows the terminal's own quotes, the ones its status bar shows, or says why not.
    CIndexQuoteFeed feed(options.quoteChannel, board->codes());
    QObject::connect(&feed, &CIndexQuoteFeed::sigQuote, board, &CIndexQuoteBoard::setQuote);
    QObject::connect(&feed, &CIndexQuoteFeed::sigUnavailable, board, [&window, board](const QString& message) {
        qWarning().noquote() << message;
        board->setMessage(message);
        window.adjustSize();
    });
    feed.start();
    window.adjustSize();
    CWindowWaker waker(&window);
    CSignalFileWatcher watcher(options.signalFile);
    if (!watcher.isWatching())
        qWarning().noquote() << watcher.error() << "- the window comes forward only when the terminal asks";

    QObject::connect(&watcher, &CSignalFileWatcher::sigTouched, &waker, &CWindowWaker::requestWake);
    QObject::connect(&channel, &CCompanionChannel::sigRaiseRequested, &waker, &CWindowWaker::requestWake);
    QObject::connect(&waker, &CWindowWaker::sigWoken, &channel, &CCompanionChannel::reportAwake);
    QObject::connect(&channel, &CCompanionChannel::sigTerminalGone, &app, &QCoreApplication::quit);
    QObject::connect(&window, &QDialog::finished, &app, &QCoreApplication::quit);

    if (!options.background)
        window.show();
    // Up once the event loop runs: the window has been laid out and the watch is in place.
    QTimer::singleShot(0, &channel, &CCompanionChannel::reportReady);
    return app.exec();
}
