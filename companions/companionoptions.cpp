#include "companionoptions.h"

#include <terminalhost/companionprotocol.h>
#include <terminalhost/multiclientmanager.h>
#include <terminalhost/uiresource.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDebug>
#include <QPalette>

namespace {
const char kFontKey[] = "fnt_default_normal";
}

CompanionOptions parseCompanionOptions(const QCoreApplication& app, const QString& description, bool miniQuote)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    const QCommandLineOption managed(QLatin1String(CompanionProtocol::kManagedOption),
                                     QStringLiteral("Started by the terminal: report on stdout, obey stdin, quit when stdin closes."));
    const QCommandLineOption theme(QLatin1String(CompanionProtocol::kThemeOption), QStringLiteral("Theme of the window (dark, light)."),
                                   QStringLiteral("name"));
    const QCommandLineOption signalFile(QLatin1String(CompanionProtocol::kSignalFileOption),
                                        QStringLiteral("File whose change brings the window to the front."), QStringLiteral("path"));
    const QCommandLineOption background(QLatin1String(CompanionProtocol::kBackgroundOption),
                                        QStringLiteral("Start with the window hidden until the first wake."));
    const QCommandLineOption quoteChannel(QLatin1String(CompanionProtocol::kQuoteChannelOption),
                                          QStringLiteral("The terminal's quote channel, whose quotes the window shows."), QStringLiteral("name"));
    parser.addOption(managed);
    parser.addOption(theme);
    if (miniQuote) {
        parser.addOption(signalFile);
        parser.addOption(background);
        parser.addOption(quoteChannel);
    }
    parser.process(app);

    CompanionOptions options;
    options.managed = parser.isSet(managed);
    options.theme = parser.value(theme);
    if (miniQuote) {
        options.background = parser.isSet(background);
        options.quoteChannel = parser.value(quoteChannel);
        options.signalFile = parser.isSet(signalFile) ? parser.value(signalFile)
                                                      : CMultiClientManager::instance()->getProcessFileQSPath(ClientType_MiniQuoteSignal);
    }
    return options;
}

void applyTerminalLook(const QString& theme)
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    CUiResource* resource = CUiResource::instance();
    QString error;
    if (!theme.isEmpty() && !resource->setTheme(theme, &error))
        qWarning().noquote() << error;
    QApplication::setFont(resource->getFont(QLatin1String(kFontKey)));
    auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)); };
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, color("clr_dialog_background"));
    palette.setColor(QPalette::WindowText, color("clr_text_default"));
    palette.setColor(QPalette::Base, color("clr_edit_background"));
    palette.setColor(QPalette::Text, color("clr_edit_text"));
    palette.setColor(QPalette::Button, color("clr_button_background"));
    palette.setColor(QPalette::ButtonText, color("clr_button_text"));
    QApplication::setPalette(palette);
}
