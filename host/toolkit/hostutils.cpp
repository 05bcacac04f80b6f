#include "hostutils.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

namespace {
constexpr int kMaxDecimals = 6;
}

bool readJsonObject(const QString& path, QJsonObject* out, QString* problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = file.exists() ? file.errorString() : QStringLiteral("file not found");
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
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
