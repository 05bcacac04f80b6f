#include "cefviewmanager.h"

#include <QPointer>
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

void CCefViewManager::executeJavaScript(CCefWebView* view, const QString& script, std::function<void(const QVariant&)> answer)
{
    if (!view || !answer)
        return;
    // A page being destroyed calls every pending callback with an empty value.
    view->page()->runJavaScript(script, [view = QPointer<CCefWebView>(view), answer = std::move(answer)](const QVariant& value) {
        if (view && value.isValid())
            answer(value);
    });
}
