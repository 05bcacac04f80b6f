#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QString>
#include <QVariant>
#include <QWebEngineView>

#include <functional>

/// @brief The terminal's embedded browser view.
class TERMINALHOST_EXPORT CCefWebView : public QWebEngineView
{
    Q_OBJECT
public:
    explicit CCefWebView(QWidget* parent);
};

/**
 * @brief Creates embedded browser views and talks to their pages.
 *
 * Pages come from local files; they may load scripts from next to themselves.
 */
class TERMINALHOST_EXPORT CCefViewManager
{
public:
    /// A new view loading url, child of parent; null when the address is not a valid URL.
    static CCefWebView* getWebView(const QString& url, QWidget* parent);
    /// callback(ok) runs on the GUI thread each time the view finishes loading a page.
    static void setloadFinished(CCefWebView* view, std::function<void(bool)> callback);
    /// Runs script in the view's page; nothing happens for a null view.
    static void executeJavaScript(CCefWebView* view, const QString& script);
    /// Runs script and hands its value to answer on the GUI thread; a page that goes first, or a
    /// script that fails or gives nothing back, never calls answer.
    static void executeJavaScript(CCefWebView* view, const QString& script, std::function<void(const QVariant&)> answer);
};
