#include "uiresource.h"

#include <terminalhost/hostutils.h>
#include <terminalhost/uiresourcechangehandler.h>

#include <QJsonObject>
#include <QJsonValue>
#include <QPainter>
#include <QSvgRenderer>
#include <QtDebug>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
const QColor kNeutralColor(128, 128, 128);
const char kNeutralFamily[] = "WenQuanYi Micro Hei";
constexpr int kNeutralPixelSize = 12;
constexpr int kMaxFontPixelSize = 200; // px; a bar 24 pixels high has no use for more
constexpr int kMaxSizePx = 10000;
constexpr int kMaxImagePx = 1024;      // px on a side of an image's natural size
constexpr int kUnknownWeight = -1;
constexpr int kNotAWholeNumber = std::numeric_limits<int>::min();
constexpr int kMaxKeysNamed = 12; // a refusal names this many missing keys and counts the rest

// Every resource key the module's code names, gathered from its sources at build time.
const char* const kKeysTheCodeUses[] = {
#include "themekeys.inc"
};

int weightFromName(const QString& name)
{
    if (name == QLatin1String("normal"))
        return QFont::Normal;
    if (name == QLatin1String("bold"))
        return QFont::Bold;
    if (name == QLatin1String("demibold"))
        return QFont::DemiBold;
    if (name == QLatin1String("black"))
        return QFont::Black;
    return kUnknownWeight;
}

// A JSON number that is a whole number from low to high, or kNotAWholeNumber.
int wholeNumber(const QJsonValue& value, int low, int high)
{
    if (!value.isDouble())
        return kNotAWholeNumber;
    const double number = value.toDouble();
    if (!(number >= low && number <= high) || number != std::floor(number))
        return kNotAWholeNumber;
    return static_cast<int>(number);
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

CUiResource::~CUiResource() = default;

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

struct CUiResource::Theme {
    QHash<QString, QColor> colors;
    QHash<QString, FontSpec> fonts;
    QHash<QString, int> sizes;
    QHash<QString, QString> images;
    Renderers renderers;

    bool defines(const QString& key) const
    {
        return colors.contains(key) || fonts.contains(key) || sizes.contains(key) || images.contains(key);
    }
};

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
    // A theme may name a built-in theme as its base and define only what it changes; without a base
    // it must be whole.
    const QJsonValue base = root.value(QLatin1String("base"));
    const bool hasBase = !base.isUndefined();
    for (const char* section : {"colors", "fonts", "sizes", "images"}) {
        const QJsonValue value = root.value(QLatin1String(section));
        if (!value.isObject() && !(hasBase && value.isUndefined()))
            return fail(QStringLiteral("the \"%1\" object is missing").arg(QLatin1String(section)));
    }
    Theme theme;
    if (hasBase) {
        if (!builtInThemes().contains(base.toString()))
            return fail(QStringLiteral("\"base\" must name a built-in theme: %1").arg(builtInThemes().join(QStringLiteral(", "))));
        QJsonObject baseRoot;
        if (!readJsonObject(QStringLiteral(":/themes/%1.json").arg(base.toString()), &baseRoot, &problem)
            || !readSections(baseRoot, &theme, &problem))
            return fail(QStringLiteral("base theme %1: %2").arg(base.toString(), problem));
    }
    if (!readSections(root, &theme, &problem))
        return fail(problem);

    QStringList missing;
    for (const char* key : kKeysTheCodeUses) {
        if (!theme.defines(QLatin1String(key)))
            missing << QLatin1String(key);
    }
    if (!missing.isEmpty()) {
        QString named = missing.mid(0, kMaxKeysNamed).join(QStringLiteral(", "));
        if (missing.size() > kMaxKeysNamed)
            named += QStringLiteral(" and %1 more").arg(missing.size() - kMaxKeysNamed);
        return fail(QStringLiteral("lacks keys the status bar uses: %1; define them, or take the rest from a built-in theme "
                                   "with \"base\": \"dark\"")
                        .arg(named));
    }

    m_themeName = name;
    m_colors = std::move(theme.colors);
    m_fonts = std::move(theme.fonts);
    m_sizes = std::move(theme.sizes);
    m_images = std::move(theme.images);
    m_renderers = std::move(theme.renderers);
    m_warned.clear();
    notifyThemeChanged();
    return true;
}

bool CUiResource::readSections(const QJsonObject& root, Theme* theme, QString* problem)
{
    auto fail = [problem](const QString& what) {
        *problem = what;
        return false;
    };
    const QJsonObject colorObject = root.value(QLatin1String("colors")).toObject();
    for (auto it = colorObject.begin(); it != colorObject.end(); ++it) {
        const QColor color(it.value().toString());
        if (!color.isValid())
            return fail(QStringLiteral("colour \"%1\" has no valid value").arg(it.key()));
        theme->colors.insert(it.key(), color);
    }
    const QJsonObject fontObject = root.value(QLatin1String("fonts")).toObject();
    for (auto it = fontObject.begin(); it != fontObject.end(); ++it) {
        if (!it.value().isObject())
            return fail(QStringLiteral("font \"%1\" must be an object with family, pixelSize and weight").arg(it.key()));
        const QJsonObject entry = it.value().toObject();
        const QJsonValue family = entry.value(QLatin1String("family"));
        if (!family.isUndefined() && (!family.isString() || family.toString().isEmpty()))
            return fail(QStringLiteral("font \"%1\" needs a family name").arg(it.key()));
        const int pixelSize = wholeNumber(entry.value(QLatin1String("pixelSize")), 1, kMaxFontPixelSize);
        if (pixelSize == kNotAWholeNumber)
            return fail(QStringLiteral("font \"%1\" needs a pixelSize from 1 to %2").arg(it.key()).arg(kMaxFontPixelSize));
        const QJsonValue weight = entry.value(QLatin1String("weight"));
        const int weightValue = weight.isUndefined() ? QFont::Normal : weightFromName(weight.toString());
        if (weightValue == kUnknownWeight)
            return fail(QStringLiteral("font \"%1\" has an unknown weight; use normal, demibold, bold or black").arg(it.key()));
        theme->fonts.insert(it.key(), FontSpec{family.toString(QLatin1String(kNeutralFamily)), pixelSize, weightValue});
    }
    const QJsonObject sizeObject = root.value(QLatin1String("sizes")).toObject();
    for (auto it = sizeObject.begin(); it != sizeObject.end(); ++it) {
        const int size = wholeNumber(it.value(), 0, kMaxSizePx);
        if (size == kNotAWholeNumber)
            return fail(QStringLiteral("size \"%1\" is not a whole number from 0 to %2").arg(it.key()).arg(kMaxSizePx));
        theme->sizes.insert(it.key(), size);
    }
    const QJsonObject imageObject = root.value(QLatin1String("images")).toObject();
    for (auto it = imageObject.begin(); it != imageObject.end(); ++it) {
        QString imagePath = it.value().toString();
        if (imagePath.isEmpty())
            return fail(QStringLiteral("image \"%1\" needs the path of an SVG file").arg(it.key()));
        if (!imagePath.contains(QLatin1Char('/')))
            imagePath = QStringLiteral(":/icons/") + imagePath;
        // Read and checked now, so that a theme that loads draws every one of its images.
        QByteArray svg;
        QString fileProblem;
        if (!readSettingsFile(imagePath, &svg, &fileProblem))
            return fail(QStringLiteral("image \"%1\" names %2: %3").arg(it.key(), imagePath, fileProblem));
        auto renderer = std::make_unique<QSvgRenderer>(svg);
        const QSize natural = renderer->defaultSize();
        if (!renderer->isValid() || natural.isEmpty())
            return fail(QStringLiteral("image \"%1\" names %2, which is not a valid SVG image").arg(it.key(), imagePath));
        if (natural.width() > kMaxImagePx || natural.height() > kMaxImagePx)
            return fail(QStringLiteral("image \"%1\" in %2 is %3 x %4 pixels; at most %5 on a side")
                            .arg(it.key(), imagePath)
                            .arg(natural.width())
                            .arg(natural.height())
                            .arg(kMaxImagePx));
        theme->images.insert(it.key(), imagePath);
        theme->renderers[it.key()] = std::move(renderer);
    }
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
    const auto it = m_renderers.find(key);
    if (it == m_renderers.end()) {
        warnUnknown(QStringLiteral("image"), key);
        return nullptr;
    }
    return it->second.get();
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

int CUiResource::scaledPx(int designPx) const
{
    return scaled(designPx);
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
