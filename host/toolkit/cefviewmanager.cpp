#include "cefviewmanager.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>

CCefWebView::CCefWebView(QWidget* parent)
    : QWebEngineView(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu);
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
}

CCefWebView* CCefViewManager::getWebView(const QString& url, QWidget* parent)
{
    const QUrl address(url);
    if (!address.isValid())
        return nullptr;
    auto* view = new CCefWebView(parent);
    view->load(address);
    return view;
}

void CCefViewManager::setloadFinished(CCefWebView* view, std::function<void(bool)> callback)
{
    if (!view || !callback)
        return;
    QObject::connect(view, &QWebEngineView::loadFinished, view, [callback = std::move(callback)](bool ok) { callback(ok); });
}

void CCefViewManager::executeJavaScript(CCefWebView* view, const QString& script)
{
    if (view)
        view->page()->runJavaScript(script);
}
