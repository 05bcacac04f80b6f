#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QMessageBox>
#include <QString>

#include <functional>

class QStyle;
class QWidget;

/**
 * @brief The terminal's message boxes: a modal question or notice in the theme's colours.
 *
 * A presenter installed with setPresenter() answers in place of the box, so that tests and
 * scripted runs never wait on a modal window.
 */
class TERMINALHOST_EXPORT CMessageBox
{
public:
    enum EKind {
        Kind_Information = 0,
        Kind_Warning = 1,
    };

    /// What a box was asked to show.
    struct Request {
        EKind kind = Kind_Information;
        QWidget* parent = nullptr;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    /// Answers a request with the button "pressed".
    using Presenter = std::function<QMessageBox::StandardButton(const Request&)>;

    /**
     * Shows a notice and waits until it is closed; returns the button pressed, NoButton when it
     * closed itself. style replaces the application's style for the box (null keeps it); onTop keeps
     * the box above every window; after autoCloseSeconds (0: never) the box closes itself.
     */
    static QMessageBox::StandardButton information(QStyle* style, QWidget* parent, const QString& title, const QString& text,
                                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                                   bool onTop = false, int autoCloseSeconds = 0);
    /// Shows a warning and waits until it is closed; as information(), without closing itself.
    static QMessageBox::StandardButton warning(QStyle* style, QWidget* parent, const QString& title, const QString& text,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                               QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                               bool onTop = false);

    /// Answers every box from now on; an empty presenter shows the boxes again.
    static void setPresenter(Presenter presenter);
};
