#include "fuzzinput.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>

namespace {
QTemporaryDir* scratch = nullptr;
}

void CFuzzInput::setUp(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A reader's warnings for each of millions of inputs would only slow the run down.
    qputenv("QT_LOGGING_RULES", "*=false");
    new QGuiApplication(*argc, *argv); // lives for the run, as a terminal's does
    scratch = new QTemporaryDir;
    if (!scratch->isValid())
        std::abort();
    QDir::setCurrent(scratch->path());
    qputenv("STATUSBAR_LOG_DIR", QFile::encodeName(scratch->path()));
}

QString CFuzzInput::asFile(const std::uint8_t* data, std::size_t size, const char* name)
{
    const QString path = scratch->filePath(QLatin1String(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}

QByteArray CFuzzInput::asBytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size));
}
