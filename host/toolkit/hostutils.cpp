#include "hostutils.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

namespace {
constexpr int kMaxDecimals = 6;
}

bool readSettingsFile(const QString& path, QByteArray* out, QString* problem, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *problem = QStringLiteral("file not found");
        return false;
    }
    if (!info.isFile()) {
        *problem = info.isDir() ? QStringLiteral("a folder, not a file") : QStringLiteral("not a regular file");
        return false;
    }
    if (info.size() > maxBytes) {
        *problem = QStringLiteral("%1 bytes; a settings file may have at most %2").arg(info.size()).arg(maxBytes);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = file.errorString();
        return false;
    }
    // One byte more than allowed tells a file that grew since it was measured.
    *out = file.read(maxBytes + 1);
    if (out->size() > maxBytes) {
        *problem = QStringLiteral("more than %1 bytes; a settings file may have at most that").arg(maxBytes);
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        *problem = file.errorString();
        return false;
    }
    return true;
}

bool readJsonObject(const QString& path, QJsonObject* out, QString* problem)
{
    QByteArray bytes;
    if (!readSettingsFile(path, &bytes, problem))
        return false;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (doc.isNull()) {
        *problem = QStringLiteral("malformed JSON at offset %1: %2").arg(parseError.offset).arg(parseError.errorString());
        return false;
    }
    if (!doc.isObject()) {
        *problem = QStringLiteral("the top level must be an object");
        return false;
    }
    *out = doc.object();
    return true;
}

QString sToQs(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size()));
}

std::string qsToS(const QString& text)
{
    return text.toUtf8().toStdString();
}

QDateTime secondToQDateTime(int seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds);
}

QString formatDoubleNumber(double value, int flags)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    QString text = QString::number(value, 'f', kMaxDecimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    if (flags & FormatDouble_Grouping) {
        const int point = text.indexOf(QLatin1Char('.'));
        const QString whole = point < 0 ? text : text.left(point);
        const QString fraction = point < 0 ? QString() : text.mid(point);
        text = QLocale(QLocale::English).toString(whole.toLongLong()) + fraction;
    }
    return text;
}
