// The minimal trading client: a compact trading window the terminal starts beside itself.
#include "companionchannel.h"
#include "companionoptions.h"
#include "windowwaker.h"

#include <terminalhost/commondialog.h>
#include <terminalhost/uiresource.h>

#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kMarginPx = 18;
constexpr int kSpacingPx = 8;
constexpr int kWindowWidthPx = 340;

QWidget* buildBody(bool managed)
{
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(kMarginPx, kMarginPx, kMarginPx, kMarginPx);
    layout->setSpacing(kSpacingPx);
    const CUiResource* resource = CUiResource::instance();

    auto* name = new QLabel(QStringLiteral("极简交易客户端"), body);
    name->setFont(resource->getFont(QStringLiteral("fnt_dialog_title")));
    const QString origin = managed ? QStringLiteral("由交易终端启动") : QStringLiteral("独立运行");
    auto* process = new QLabel(QStringLiteral("%1 · 进程 %2").arg(origin).arg(QCoreApplication::applicationPid()), body);
    auto* started = new QLabel(QStringLiteral("启动于 %1").arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))), body);
    const QString secondary = QStringLiteral("color: %1;").arg(resource->getColor(QStringLiteral("clr_text_secondary")).name());
    process->setStyleSheet(secondary);
    started->setStyleSheet(secondary);
    layout->addWidget(name);
    layout->addWidget(process);
    layout->addWidget(started);
    layout->addStretch(1);
    return body;
}
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("minitrade-client"));
    const CompanionOptions options = parseCompanionOptions(app, QStringLiteral("极简交易: the terminal's minimal trading client"), false);
    applyTerminalLook(options.theme);

    CCompanionChannel channel(options.managed);
    CCommonDialog window(nullptr);
    window.setTitle(QStringLiteral("极简交易"));
    window.setInnerWidget(buildBody(options.managed));
    window.adjustSize();
    window.resize(kWindowWidthPx, window.height());
    CWindowWaker waker(&window);

    QObject::connect(&channel, &CCompanionChannel::sigRaiseRequested, &waker, &CWindowWaker::requestWake);
    QObject::connect(&waker, &CWindowWaker::sigWoken, &channel, &CCompanionChannel::reportAwake);
    QObject::connect(&channel, &CCompanionChannel::sigTerminalGone, &app, &QCoreApplication::quit);
    QObject::connect(&window, &QDialog::finished, &app, &QCoreApplication::quit);

    window.show();
    QTimer::singleShot(0, &channel, &CCompanionChannel::reportReady);
    return app.exec();
}
