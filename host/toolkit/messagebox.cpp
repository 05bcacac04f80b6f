#include "messagebox.h"

#include <terminalhost/uiresource.h>

#include <QAbstractButton>
#include <QIcon>
#include <QTimer>

namespace {
constexpr int kMsPerSecond = 1000;

struct ButtonText {
    QMessageBox::StandardButton button;
    const char* text;
};
// The terminal speaks Chinese: its buttons do not take Qt's English texts.
const ButtonText kButtonTexts[] = {
    {QMessageBox::Ok, "确定"}, {QMessageBox::Cancel, "取消"}, {QMessageBox::Yes, "是"},
    {QMessageBox::No, "否"},   {QMessageBox::Close, "关闭"},
};

// Chinese texts, and no icons: the terminal's other dialogs draw plain buttons.
void dressButtons(QMessageBox* box)
{
    for (QAbstractButton* button : box->buttons()) {
        button->setIcon(QIcon());
        const QMessageBox::StandardButton which = box->standardButton(button);
        for (const ButtonText& entry : kButtonTexts) {
            if (entry.button == which)
                button->setText(QString::fromUtf8(entry.text));
        }
    }
}

CMessageBox::Presenter& presenter()
{
    static CMessageBox::Presenter installed;
    return installed;
}

QString themedStyleSheet()
{
    const CUiResource* resource = CUiResource::instance();
    auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)).name(); };
    const QFont font = resource->getFont(QStringLiteral("fnt_default_normal"));
    return QStringLiteral("QMessageBox { background: %1; }"
                          "QMessageBox QLabel { color: %2; font-family: \"%3\"; font-size: %4px; }"
                          "QMessageBox QPushButton { background: %5; color: %6; border: 1px solid %7; border-radius: 2px;"
                          " min-width: 64px; padding: 4px 10px; font-family: \"%3\"; font-size: %4px; }"
                          "QMessageBox QPushButton:hover { background: %8; }"
                          "QMessageBox QPushButton:pressed { background: %9; }")
        .arg(color("clr_dialog_background"), color("clr_dialog_title_text"), font.family())
        .arg(font.pixelSize())
        .arg(color("clr_button_background"), color("clr_button_text"), color("clr_button_border"),
             color("clr_button_hover_background"), color("clr_button_pressed_background"));
}

QMessageBox::StandardButton show(QStyle* style, const CMessageBox::Request& request, bool onTop, int autoCloseSeconds)
{
    if (presenter())
        return presenter()(request);
    QMessageBox box(request.kind == CMessageBox::Kind_Warning ? QMessageBox::Warning : QMessageBox::Information, request.title,
                    request.text, request.buttons, request.parent);
    if (style)
        box.setStyle(style);
    box.setStyleSheet(themedStyleSheet());
    dressButtons(&box);
    if (request.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(request.defaultButton);
    if (onTop)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (autoCloseSeconds > 0)
        QTimer::singleShot(autoCloseSeconds * kMsPerSecond, &box, [&box] { box.done(QMessageBox::NoButton); });
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
}
}

QMessageBox::StandardButton CMessageBox::information(QStyle* style, QWidget* parent, const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton, bool onTop, int autoCloseSeconds)
{
    return show(style, Request{Kind_Information, parent, title, text, buttons, defaultButton}, onTop, autoCloseSeconds);
}

QMessageBox::StandardButton CMessageBox::warning(QStyle* style, QWidget* parent, const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
                                                 bool onTop)
{
    return show(style, Request{Kind_Warning, parent, title, text, buttons, defaultButton}, onTop, 0);
}

void CMessageBox::setPresenter(Presenter presenter)
{
    ::presenter() = std::move(presenter);
}
