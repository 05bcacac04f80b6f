#include <testmain.h>

#include <terminalhost/config.h>
#include <terminalhost/logcenter.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/uiresourcechangehandler.h>

#include <QTemporaryDir>

namespace {
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

// Counts the warnings that name a text, for as long as it lives; other messages go on as before.
class WarningCounter
{
public:
    explicit WarningCounter(const QString& needle)
    {
        s_needle = needle;
        s_count = 0;
        s_previous = qInstallMessageHandler(&WarningCounter::handle);
    }
    ~WarningCounter() { qInstallMessageHandler(s_previous); }
    WarningCounter(const WarningCounter&) = delete;
    WarningCounter& operator=(const WarningCounter&) = delete;
    int count() const { return s_count; }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtWarningMsg && message.contains(s_needle))
            ++s_count;
        else if (s_previous)
            s_previous(type, context, message);
    }
    static inline QString s_needle;
    static inline int s_count = 0;
    static inline QtMessageHandler s_previous = nullptr;
};

struct CountingHandler : CUiResourceChangeHandler {
    int calls = 0;
    void themeChanged() override { ++calls; }
};
}

class TestHostFiles : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void everyThemeDefinesEveryKeyTheCodeUses_data()
    {
        QTest::addColumn<QString>("theme");
        for (const QString& theme : CUiResource::builtInThemes())
            QTest::newRow(qPrintable(theme)) << theme;
    }
    void everyThemeDefinesEveryKeyTheCodeUses()
    {
        QFETCH(QString, theme);
        QString error; // a theme that lacks a key the code uses is refused, with the keys named
        QVERIFY2(CUiResource::instance()->setTheme(theme, &error), qPrintable(error));
    }

    void aThemeOnABaseChangesOnlyWhatItDefines()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("mine.json"),
                                       "{\"base\": \"light\", \"colors\": {\"clr_main_statusbar_background\": \"#123456\"}}");
        CUiResource* resource = CUiResource::instance();
        QVERIFY(resource->setTheme(QStringLiteral("light")));
        const QColor lightText = resource->getColor(QStringLiteral("clr_global_text"));
        QVERIFY(resource->setTheme(QStringLiteral("dark")));
        QString error;
        QVERIFY2(resource->loadThemeFile(path, &error), qPrintable(error));
        QCOMPARE(resource->getColor(QStringLiteral("clr_main_statusbar_background")), QColor(QStringLiteral("#123456")));
        QCOMPARE(resource->getColor(QStringLiteral("clr_global_text")), lightText);
    }

    void everyThemeImageIsAValidDrawing()
    {
        CUiResource* resource = CUiResource::instance();
        for (const QString& theme : CUiResource::builtInThemes()) {
            QVERIFY(resource->setTheme(theme));
            for (const QString& key : resource->keys(QStringLiteral("images")))
                QVERIFY2(!resource->getImageSize(key).isEmpty(), qPrintable(theme + QLatin1Char(' ') + key));
        }
    }

    void chineseTextUsesAFontThatHasItsGlyphs()
    {
        const QFont font = CUiResource::instance()->getFont(QStringLiteral("fnt_default_normal"));
        QVERIFY2(QFontMetrics(font).inFont(QChar(0x884C)), qPrintable(font.family() + " has no glyph for 行"));
    }

    void badThemeFilesAreRefusedWithTheFileNamed_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        QTest::newRow("not json") << QByteArray("{ \"colors\": ") << QStringLiteral("malformed JSON");
        QTest::newRow("section missing") << QByteArray(R"({"colors": {}, "fonts": {}, "sizes": {}})") << QStringLiteral("\"images\"");
        QTest::newRow("bad colour") << QByteArray(R"({"colors": {"clr_x": "pink-ish"}, "fonts": {}, "sizes": {}, "images": {}})")
                                    << QStringLiteral("clr_x");
        QTest::newRow("font without size") << QByteArray(R"({"colors": {}, "fonts": {"fnt_x": {"family": "A"}}, "sizes": {}, "images": {}})")
                                           << QStringLiteral("fnt_x");
        QTest::newRow("image not there") << QByteArray(R"({"colors": {}, "fonts": {}, "sizes": {}, "images": {"img_x": "nothing.svg"}})")
                                         << QStringLiteral("img_x");
    }
    void badThemeFilesAreRefusedWithTheFileNamed()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("broken.json"), content);
        CUiResource* resource = CUiResource::instance();
        const QColor before = resource->getColor(QStringLiteral("clr_main_statusbar_background"));
        QString error;
        QVERIFY(!resource->loadThemeFile(path, &error));
        QVERIFY2(error.contains(path) && error.contains(problem), qPrintable(error));
        QCOMPARE(resource->getColor(QStringLiteral("clr_main_statusbar_background")), before);
    }

    void unknownKeysFallBackAndWarnOncePerTheme_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("colour") << QStringLiteral("clr_no_such_key");
        QTest::newRow("font") << QStringLiteral("fnt_no_such_key");
        QTest::newRow("size") << QStringLiteral("tc_siz_no_such_key");
        QTest::newRow("image") << QStringLiteral("img_no_such_key");
    }
    void unknownKeysFallBackAndWarnOncePerTheme()
    {
        QFETCH(QString, key);
        CUiResource* resource = CUiResource::instance();
        const auto lookUp = [resource, &key] {
            if (key.startsWith(QLatin1String("clr_")))
                QVERIFY(resource->getColor(key).isValid());
            else if (key.startsWith(QLatin1String("fnt_")))
                QVERIFY(resource->getFont(key).pixelSize() > 0);
            else if (key.startsWith(QLatin1String("tc_siz_")))
                QCOMPARE(resource->getSize(key), 0);
            else
                QVERIFY(resource->getImageSize(key).isEmpty());
        };
        WarningCounter warnings(QStringLiteral("\"%1\"").arg(key));
        lookUp();
        lookUp();
        QCOMPARE(warnings.count(), 1);
        // Another theme may lack other keys: it warns afresh, once.
        QVERIFY(resource->setTheme(QStringLiteral("light")));
        lookUp();
        lookUp();
        QCOMPARE(warnings.count(), 2);
    }

    void fontsAndImagesFollowTheUiScale()
    {
        CUiResource* resource = CUiResource::instance();
        const int pixelSize = resource->getFont(QStringLiteral("fnt_default_normal")).pixelSize();
        const QSize imageSize = resource->getImageSize(QStringLiteral("tc_img_net_speed_four"));
        resource->setUIScale(1.5);
        QCOMPARE(resource->getFont(QStringLiteral("fnt_default_normal")).pixelSize(), qRound(pixelSize * 1.5));
        QCOMPARE(resource->getImageSize(QStringLiteral("tc_img_net_speed_four")).width(), qRound(imageSize.width() * 1.5));
    }

    void themeSwitchAndScaleChangeReachEveryHandlerOnce()
    {
        CountingHandler handler;
        CUiResource* resource = CUiResource::instance();
        QVERIFY(resource->setTheme(QStringLiteral("light")));
        QCOMPARE(handler.calls, 1);
        resource->setUIScale(1.25);
        resource->setUIScale(1.25);
        QCOMPARE(handler.calls, 2);
        QVERIFY(!resource->setTheme(QStringLiteral("purple")));
        QCOMPARE(handler.calls, 2);
    }

    void theInstallationSettingsLoadFromTheConfigurationFile()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("terminal.json"),
                                       R"({"tradeServer": "10.0.0.1:9501", "useWebView": false})");
        QString error;
        QVERIFY2(getConfig()->load(path, &error), qPrintable(error));
        QCOMPARE(getConfig()->tradeServerAddress(), QStringLiteral("10.0.0.1:9501"));
        QVERIFY(!getConfig()->useWebView());
    }

    void badConfigurationFilesChangeNothingAndNameTheFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        QTest::newRow("not json") << QByteArray("{\"useWebView\": fal") << QStringLiteral("malformed JSON");
        QTest::newRow("a list") << QByteArray("[1, 2]") << QStringLiteral("object");
        QTest::newRow("flag as text") << QByteArray(R"({"useWebView": "no", "tradeServer": "x"})") << QStringLiteral("useWebView");
        QTest::newRow("address as number") << QByteArray(R"({"tradeServer": 9501})") << QStringLiteral("tradeServer");
        QTest::newRow("port beyond 65535") << QByteArray(R"({"tradeServer": "10.0.0.1:99999"})") << QStringLiteral("port \"99999\"");
        QTest::newRow("no port") << QByteArray(R"({"marketStatusServer": "mktstatus.sim.local"})") << QStringLiteral("host:port");
    }
    void badConfigurationFilesChangeNothingAndNameTheFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("terminal.json"), content);
        const QString serverBefore = getConfig()->tradeServerAddress();
        QString error;
        QVERIFY(!getConfig()->load(path, &error));
        QVERIFY2(error.contains(path) && error.contains(problem), qPrintable(error));
        QCOMPARE(getConfig()->tradeServerAddress(), serverBefore);
        QVERIFY(getConfig()->useWebView());
    }

    void theShippedConfigurationFilesLoad()
    {
        QString error;
        QVERIFY2(getConfig()->load(CConfig::defaultFile(), &error), qPrintable(error));
        QVERIFY2(CLogCenter::instance()->configure(CLogCenter::defaultConfigFile(), &error), qPrintable(error));
    }
};

STATUSBAR_TEST_MAIN(TestHostFiles)
#include "tst_hostfiles.moc"
