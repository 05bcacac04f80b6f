#pragma once

#include <terminalhost/commondialog.h>

#include <QPixmap>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

/**
 * @brief The terminal's feedback form: a category, what the user has to say, how to reach them,
 * and optionally a picture of the terminal's main window.
 *
 * Submitting writes the report as a JSON file, with the picture as a PNG beside it, into the
 * feedback folder of the user's data directory, and tells the user where. A report meant for the
 * service centre (set2Server) is marked so in its file; sending it is left to the terminal's upload.
 */
class TERMINALHOST_EXPORT CAdviceFeedBackDialog : public CCommonDialog
{
    Q_OBJECT
public:
    /// withScreenCapture: the report may carry a picture of the terminal's main window. The login
    /// window, which has no main window behind it yet, passes false and the form has no picture.
    CAdviceFeedBackDialog(QWidget* parent, bool withScreenCapture);

    /// Takes a picture of the terminal's main window (before the dialog covers any of it), puts
    /// it in the form and shows the dialog.
    void screenCapture();
    /// The last picture taken; null before the first capture and after a report went out.
    QPixmap capture() const { return m_capture; }

    /// true: the report is marked for the service centre as well as kept on this computer.
    void set2Server(bool toServer);
    bool is2Server() const { return m_toServer; }

    /// Writes the report; returns its JSON file, or an empty path when nothing was written, in
    /// which case the dialog says why and keeps what the user typed.
    QString submit();
    /// What the dialog last told the user: where the report went, or what went wrong.
    QString statusText() const;

    /// The folder reports go to: "feedback" in the user's data directory unless set.
    static QString feedbackDir();
    static void setFeedbackDir(const QString& dir);
    /// Opens the configured feedback address in the desktop browser; false when none is set or
    /// nothing could open it.
    static bool openFeedbackAddress();

    bool handleEvent(int type, int id, int arg, QString text, void* data) override;
    void themeChanged() override;

private:
    QWidget* buildForm(bool withScreenCapture);
    void showCapture();
    void showMode();
    void setStatus(const QString& text, bool problem);
    /// Tells the user and the log which file could not be written and why.
    void reportNotWritten(const QString& path, const QString& problem);
    void applyFormTheme();
    QWidget* terminalWindow() const;

    QComboBox* m_category = nullptr;
    QPlainTextEdit* m_content = nullptr;
    QLineEdit* m_contact = nullptr;
    QLabel* m_thumbnail = nullptr;
    QCheckBox* m_attachCapture = nullptr;
    QLabel* m_mode = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_form = nullptr;
    QPixmap m_capture;
    bool m_toServer = false;
    bool m_statusIsProblem = false;
};
