#include "hostutils.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {
constexpr int kMaxDecimals = 6;
constexpr double kDecimalScale = 1e6;       // 10^kMaxDecimals
constexpr std::uint64_t kDecimalUnit = 1000000;
constexpr double kFastLimit = 1e9;          // below it, the scaled value is an exact integer in a double

// The text of a magnitude below kFastLimit, rounded at six decimals as Qt's 'f' format rounds: to
// nearest, halves away from zero, from the exact binary value. The product with 10^6 is split into
// its rounded part and the exact rest (fma), so that values a hair either side of a half round right.
int writeFastMagnitude(double magnitude, bool negative, char* out)
{
    const double scaled = magnitude * kDecimalScale;
    const double rest = std::fma(magnitude, kDecimalScale, -scaled);
    const double whole = std::floor(scaled);
    // Sign of (exact fraction - 1/2): both terms are exact, so the sum has the right sign.
    const double aboveHalf = ((scaled - whole) - 0.5) + rest;
    const auto units = static_cast<std::uint64_t>(whole) + (aboveHalf >= 0.0 ? 1u : 0u);
    char* p = out;
    if (units == 0) {
        *p++ = '0';
        return 1;
    }
    if (negative)
        *p++ = '-';
    p = std::to_chars(p, out + kDoubleNumberCapacity, units / kDecimalUnit).ptr;
    std::uint64_t fraction = units % kDecimalUnit;
    if (fraction == 0)
        return static_cast<int>(p - out);
    int digits = kMaxDecimals;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    *p++ = '.';
    for (int i = digits - 1; i >= 0; --i) {
        p[i] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    return static_cast<int>(p + digits - out);
}

// A key as JSON means it: escapes decoded (rare in settings files, so only then the parser helps).
QByteArray decodedKey(const QByteArray& raw)
{
    if (!raw.contains('\\'))
        return raw;
    const QJsonDocument single = QJsonDocument::fromJson("[\"" + raw + "\"]");
    return single.isArray() ? single.array().at(0).toString().toUtf8() : raw;
}

// The first key that an object of the text holds twice, as "outer" sets "key" twice; empty when
// there is none. Qt's parser keeps the last value silently, and loses the memory of an earlier
// object or array value, so a settings file may not do that. Malformed text is scanned as far as
// it goes and left to the parser to name.
QString firstDuplicateKey(const QByteArray& text)
{
    struct Level {
        bool object = false;
        bool expectKey = false;
        QByteArray name; ///< the key that opened this level
        std::set<QByteArray> keys;
    };
    std::vector<Level> levels;
    QByteArray lastKey;
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const char c = text.at(i);
        if (c == '"') {
            const int start = ++i;
            while (i < size && text.at(i) != '"')
                i += text.at(i) == '\\' ? 2 : 1;
            const QByteArray raw = text.mid(start, i - start);
            if (levels.empty() || !levels.back().object || !levels.back().expectKey)
                continue;
            Level& level = levels.back();
            level.expectKey = false;
            lastKey = decodedKey(raw);
            if (!level.keys.insert(lastKey).second) {
                const QString key = QString::fromUtf8(lastKey);
                return level.name.isEmpty() ? QStringLiteral("\"%1\" is set twice").arg(key)
                                            : QStringLiteral("\"%1\" sets \"%2\" twice").arg(QString::fromUtf8(level.name), key);
            }
        } else if (c == '{' || c == '[') {
            const bool inObject = !levels.empty() && levels.back().object;
            levels.push_back(Level{c == '{', c == '{', inObject ? lastKey : QByteArray(), {}});
        } else if (c == '}' || c == ']') {
            if (levels.empty())
                return {};
            levels.pop_back();
        } else if (c == ',' && !levels.empty() && levels.back().object) {
            levels.back().expectKey = true;
        }
    }
    return {};
}
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
    const QString duplicate = firstDuplicateKey(bytes);
    if (!duplicate.isEmpty()) {
        *problem = duplicate;
        return false;
    }
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

int writeDoubleNumber(double value, char* buffer)
{
    if (!std::isfinite(value)) {
        buffer[0] = '0';
        return 1;
    }
    if (std::fabs(value) < kFastLimit)
        return writeFastMagnitude(std::fabs(value), std::signbit(value), buffer);
    // Rare: far beyond any delay or price. Qt's own formatting, trimmed the same way.
    QByteArray text = QByteArray::number(value, 'f', kMaxDecimals);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    const int length = std::min(text.size(), kDoubleNumberCapacity);
    std::memcpy(buffer, text.constData(), static_cast<std::size_t>(length));
    return length;
}

QString formatDoubleNumber(double value)
{
    char buffer[kDoubleNumberCapacity];
    return QString::fromLatin1(buffer, writeDoubleNumber(value, buffer));
}
