#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QColor>
#include <QFont>
#include <QHash>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <unordered_map>
#include <vector>

class CUiResourceChangeHandler;
class QJsonObject;
class QPainter;
class QRectF;
class QSvgRenderer;

/**
 * @brief The terminal's resource registry: colours, fonts, sizes and images by key, from a theme file.
 *
 * A theme is a JSON file with four objects: "colors" (key to "#rrggbb" or "#aarrggbb"),
 * "fonts" (key to {"family", "pixelSize", "weight"}), "sizes" (key to pixels) and "images"
 * (key to an SVG path; a bare file name means the built-in icon of that name). The built-in themes
 * are "dark" (the default) and "light". Font pixel sizes, sizes and image sizes follow the UI scale.
 * An unknown key answers a neutral value and is warned about once. A theme file is checked whole
 * before it replaces the current theme (values in range, every image a readable SVG, every key the
 * module's code uses defined), and the registry owns the images' renderers, which go with the theme
 * they belong to. A file that names a built-in theme as its "base" takes the keys it leaves out from it.
 */
class TERMINALHOST_EXPORT CUiResource
{
public:
    static CUiResource* instance();

    /// Loads a built-in theme by name ("dark", "light"); returns false and sets error otherwise.
    bool setTheme(const QString& name, QString* error = nullptr);
    /// Loads a theme from a file; on failure keeps the current theme and names the file in error.
    bool loadThemeFile(const QString& path, QString* error = nullptr);
    QString themeName() const { return m_themeName; }
    static QStringList builtInThemes();

    QColor getColor(const QString& key) const;
    QFont getFont(const QString& key) const;
    int getSize(const QString& key) const;

    /// Natural size of an image at the current UI scale; an empty size for an unknown key.
    QSize getImageSize(const QString& key) const;
    /// Draws the whole image, or one of its side-by-side frames when frameCount > 1, into target.
    void drawImage(QPainter* painter, const QString& key, const QRectF& target, int frame = 0, int frameCount = 1) const;
    bool hasImage(const QString& key) const;

    double getUIScale() const { return m_uiScale; }
    /// Changes the scale of fonts, sizes and images and tells every handler.
    void setUIScale(double scale);
    /// A widget's design figure in pixels at 100 %, at the current UI scale, in whole pixels.
    int scaledPx(int designPx) const;

    /// Keys of one kind ("colors", "fonts", "sizes", "images") in the current theme.
    QStringList keys(const QString& kind) const;

    void addChangeHandler(CUiResourceChangeHandler* handler);
    void removeChangeHandler(CUiResourceChangeHandler* handler);
    void notifyThemeChanged();

    /// Dark theme, scale 1, no warnings remembered.
    void reset();

private:
    CUiResource();
    ~CUiResource();
    struct FontSpec {
        QString family;
        int pixelSize = 12;
        int weight = QFont::Normal;
    };
    struct Theme;
    bool loadFrom(const QString& path, const QString& name, QString* error);
    static bool readSections(const QJsonObject& root, Theme* theme, QString* problem);
    QSvgRenderer* renderer(const QString& key) const;
    void warnUnknown(const QString& kind, const QString& key) const;
    int scaled(int px) const;

    QString m_themeName;
    double m_uiScale = 1.0;
    QHash<QString, QColor> m_colors;
    QHash<QString, FontSpec> m_fonts;
    QHash<QString, int> m_sizes;
    QHash<QString, QString> m_images;
    using Renderers = std::unordered_map<QString, std::unique_ptr<QSvgRenderer>>;
    Renderers m_renderers; ///< one per image key of the current theme
    mutable QSet<QString> m_warned;
    std::vector<CUiResourceChangeHandler*> m_handlers;
};
