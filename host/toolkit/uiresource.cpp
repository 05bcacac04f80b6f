#include "uiresource.h"

#include <terminalhost/hostutils.h>
#include <terminalhost/uiresourcechangehandler.h>

#include <QFile>
#include <QJsonObject>
#include <QPainter>
#include <QSvgRenderer>
#include <QtDebug>

#include <algorithm>
#include <cmath>

namespace {
const QColor kNeutralColor(128, 128, 128);
const char kNeutralFamily[] = "WenQuanYi Micro Hei";
constexpr int kNeutralPixelSize = 12;

int weightFromName(const QString& name)
{
    if (name == QLatin1String("bold"))
        return QFont::Bold;
    if (name == QLatin1String("demibold"))
        return QFont::DemiBold;
    if (name == QLatin1String("black"))
        return QFont::Black;
    return QFont::Normal;
}
}

CUiResource* CUiResource::instance()
{
    static CUiResource resource;
    return &resource;
}

CUiResource::CUiResource()
{
    setTheme(QStringLiteral("dark"));
}

QStringList CUiResource::builtInThemes()
{
    return {QStringLiteral("dark"), QStringLiteral("light")};
}

bool CUiResource::setTheme(const QString& name, QString* error)
{
    if (!builtInThemes().contains(name)) {
        if (error)
            *error = QStringLiteral("unknown theme \"%1\"; built-in themes are %2")
                         .arg(name, builtInThemes().join(QStringLiteral(", ")));
        return false;
    }
    return loadFrom(QStringLiteral(":/themes/%1.json").arg(name), name, error);
}

bool CUiResource::loadThemeFile(const QString& path, QString* error)
{
    return loadFrom(path, path, error);
}

bool CUiResource::loadFrom(const QString& path, const QString& name, QString* error)
{
    auto fail = [&](const QString& problem) {
        if (error)
            *error = QStringLiteral("theme file %1: %2").arg(path, problem);
        return false;
    };
    QJsonObject root;
    QString problem;
    if (!readJsonObject(path, &root, &problem))
        return fail(problem);
    for (const char* section : {"colors", "fonts", "sizes", "images"}) {
        if (!root.value(QLatin1String(section)).isObject())
            return fail(QStringLiteral("the \"%1\" object is missing").arg(QLatin1String(section)));
    }

    QHash<QString, QColor> colors;
    const QJsonObject colorObject = root.value(QLatin1String("colors")).toObject();
    for (auto it = colorObject.begin(); it != colorObject.end(); ++it) {
        const QColor color(it.value().toString());
        if (!color.isValid())
            return fail(QStringLiteral("colour \"%1\" has no valid value").arg(it.key()));
        colors.insert(it.key(), color);
    }
    QHash<QString, FontSpec> fonts;
    const QJsonObject fontObject = root.value(QLatin1String("fonts")).toObject();
    for (auto it = fontObject.begin(); it != fontObject.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        if (entry.value(QLatin1String("pixelSize")).toInt() <= 0)
            return fail(QStringLiteral("font \"%1\" needs a positive pixelSize").arg(it.key()));
        fonts.insert(it.key(), FontSpec{entry.value(QLatin1String("family")).toString(QLatin1String(kNeutralFamily)),
                                        entry.value(QLatin1String("pixelSize")).toInt(),
                                        weightFromName(entry.value(QLatin1String("weight")).toString())});
    }
    QHash<QString, int> sizes;
    const QJsonObject sizeObject = root.value(QLatin1String("sizes")).toObject();
    for (auto it = sizeObject.begin(); it != sizeObject.end(); ++it) {
        if (!it.value().isDouble())
            return fail(QStringLiteral("size \"%1\" is not a number").arg(it.key()));
        sizes.insert(it.key(), it.value().toInt());
    }
    QHash<QString, QString> images;
    const QJsonObject imageObject = root.value(QLatin1String("images")).toObject();
    for (auto it = imageObject.begin(); it != imageObject.end(); ++it) {
        QString imagePath = it.value().toString();
        if (!imagePath.contains(QLatin1Char('/')))
            imagePath = QStringLiteral(":/icons/") + imagePath;
        if (!QFile::exists(imagePath))
            return fail(QStringLiteral("image \"%1\" names %2, which does not exist").arg(it.key(), imagePath));
        images.insert(it.key(), imagePath);
    }

    m_themeName = name;
    m_colors = std::move(colors);
    m_fonts = std::move(fonts);
    m_sizes = std::move(sizes);
    m_images = std::move(images);
    qDeleteAll(m_renderers);
    m_renderers.clear();
    m_warned.clear();
    notifyThemeChanged();
    return true;
}

void CUiResource::warnUnknown(const QString& kind, const QString& key) const
{
    const QString tag = kind + QLatin1Char(':') + key;
    if (m_warned.contains(tag))
        return;
    m_warned.insert(tag);
    qWarning().noquote() << QStringLiteral("theme \"%1\" defines no %2 \"%3\"; using a neutral value").arg(m_themeName, kind, key);
}

int CUiResource::scaled(int px) const
{
    return static_cast<int>(std::lround(px * m_uiScale));
}

QColor CUiResource::getColor(const QString& key) const
{
    const auto it = m_colors.constFind(key);
    if (it != m_colors.constEnd())
        return *it;
    warnUnknown(QStringLiteral("colour"), key);
    return kNeutralColor;
}

QFont CUiResource::getFont(const QString& key) const
{
    FontSpec wanted{QLatin1String(kNeutralFamily), kNeutralPixelSize, QFont::Normal};
    const auto it = m_fonts.constFind(key);
    if (it != m_fonts.constEnd())
        wanted = *it;
    else
        warnUnknown(QStringLiteral("font"), key);
    QFont font(wanted.family);
    font.setPixelSize(std::max(1, scaled(wanted.pixelSize)));
    font.setWeight(wanted.weight);
    return font;
}

int CUiResource::getSize(const QString& key) const
{
    const auto it = m_sizes.constFind(key);
    if (it != m_sizes.constEnd())
        return scaled(*it);
    warnUnknown(QStringLiteral("size"), key);
    return 0;
}

bool CUiResource::hasImage(const QString& key) const
{
    return m_images.contains(key);
}

QSvgRenderer* CUiResource::renderer(const QString& key) const
{
    auto cached = m_renderers.constFind(key);
    if (cached != m_renderers.constEnd())
        return *cached;
    const auto it = m_images.constFind(key);
    if (it == m_images.constEnd()) {
        warnUnknown(QStringLiteral("image"), key);
        return nullptr;
    }
    auto* svg = new QSvgRenderer(*it);
    if (!svg->isValid()) {
        qWarning().noquote() << QStringLiteral("image %1 for \"%2\" is not a valid SVG").arg(*it, key);
        delete svg;
        svg = nullptr;
    }
    m_renderers.insert(key, svg);
    return svg;
}

QSize CUiResource::getImageSize(const QString& key) const
{
    const QSvgRenderer* svg = renderer(key);
    if (!svg)
        return {};
    const QSize natural = svg->defaultSize();
    return {scaled(natural.width()), scaled(natural.height())};
}

void CUiResource::drawImage(QPainter* painter, const QString& key, const QRectF& target, int frame, int frameCount) const
{
    QSvgRenderer* svg = renderer(key);
    if (!svg || target.isEmpty())
        return;
    if (frameCount <= 1) {
        svg->render(painter, target);
        return;
    }
    // Frames sit side by side in the SVG: render the whole strip so that the chosen frame lands on target.
    const QRectF strip(target.x() - frame * target.width(), target.y(), target.width() * frameCount, target.height());
    painter->save();
    painter->setClipRect(target, Qt::IntersectClip);
    svg->render(painter, strip);
    painter->restore();
}

void CUiResource::setUIScale(double scale)
{
    if (scale <= 0.0 || scale == m_uiScale)
        return;
    m_uiScale = scale;
    notifyThemeChanged();
}

QStringList CUiResource::keys(const QString& kind) const
{
    QStringList result;
    if (kind == QLatin1String("colors"))
        result = m_colors.keys();
    else if (kind == QLatin1String("fonts"))
        result = m_fonts.keys();
    else if (kind == QLatin1String("sizes"))
        result = m_sizes.keys();
    else if (kind == QLatin1String("images"))
        result = m_images.keys();
    result.sort();
    return result;
}

void CUiResource::addChangeHandler(CUiResourceChangeHandler* handler)
{
    m_handlers.push_back(handler);
}

void CUiResource::removeChangeHandler(CUiResourceChangeHandler* handler)
{
    m_handlers.erase(std::remove(m_handlers.begin(), m_handlers.end(), handler), m_handlers.end());
}

void CUiResource::notifyThemeChanged()
{
    // A handler may create or destroy others while it reacts, so walk a copy and skip the departed.
    const std::vector<CUiResourceChangeHandler*> handlers = m_handlers;
    for (CUiResourceChangeHandler* handler : handlers) {
        if (std::find(m_handlers.begin(), m_handlers.end(), handler) != m_handlers.end())
            handler->themeChanged();
    }
}

void CUiResource::reset()
{
    m_uiScale = 1.0;
    setTheme(QStringLiteral("dark"));
}
