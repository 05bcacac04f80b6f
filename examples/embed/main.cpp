// A terminal main window that hosts the status bar along its bottom edge. With a file name as its
// argument it saves a picture of itself there and quits, once the clock has had its first tick.
#include <statusbar/statusbar.h>
#include <terminalhost/config.h>

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    setConfigDir(QStringLiteral(STATUSBAR_DATA_DIR "/config")); // the installed chart page and settings
    QMainWindow window;
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    auto* bar = new CStatusBar(central);
    layout->addWidget(bar);
    window.setCentralWidget(central);
    window.resize(1000, 240);
    window.show();
    bar->request();
    if (argc > 1)
        QTimer::singleShot(1500, &window, [&] { window.grab().save(QString::fromLocal8Bit(argv[1])); app.quit(); });
    return app.exec();
}
