// Feeds theme files to the resource registry. A theme that loads is then used as the bar uses it:
// every colour, font, size and image is asked for and every image is drawn.
#include "fuzzinput.h"

#include <terminalhost/uiresource.h>

#include <QImage>
#include <QPainter>
#include <QRectF>

namespace {
// Asks for every key of the current theme and draws every image, as the bar would.
void useTheme(CUiResource* resource)
{
    QImage canvas(64, 24, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    for (const QString& key : resource->keys(QStringLiteral("colors")))
        resource->getColor(key);
    for (const QString& key : resource->keys(QStringLiteral("fonts")))
        painter.setFont(resource->getFont(key));
    for (const QString& key : resource->keys(QStringLiteral("sizes")))
        resource->getSize(key);
    for (const QString& key : resource->keys(QStringLiteral("images"))) {
        resource->getImageSize(key);
        resource->drawImage(&painter, key, QRectF(0, 0, 32, 24), 1, 2);
    }
    painter.end();
}
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    CFuzzInput::setUp(argc, argv);
    // Qt builds its font and drawing caches on first use and keeps them: built here, before the
    // leak checks of the single inputs begin, they are not taken for leaks of an input.
    for (const QString& theme : CUiResource::builtInThemes()) {
        CUiResource::instance()->setTheme(theme);
        useTheme(CUiResource::instance());
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CUiResource* resource = CUiResource::instance();
    QString error;
    if (!resource->loadThemeFile(CFuzzInput::asFile(data, size, "theme.json"), &error)) {
        if (error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    useTheme(resource);
    resource->setTheme(QStringLiteral("dark"));
    return 0;
}
