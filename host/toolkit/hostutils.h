#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QDateTime>
#include <QString>

#include <string>

class QJsonObject;

class QByteArray;

/// Largest settings file (theme, installation settings, log configuration) the host reads, in bytes.
constexpr qint64 kMaxSettingsFileBytes = 1024 * 1024;

/// Reads a whole regular file of at most maxBytes. On failure returns false and says in problem what
/// is wrong (missing, not a regular file, too large, unreadable) without naming the file. Devices
/// and pipes are refused: they may never end.
TERMINALHOST_EXPORT bool readSettingsFile(const QString& path, QByteArray* out, QString* problem,
                                          qint64 maxBytes = kMaxSettingsFileBytes);
/// Reads a file holding one JSON object, through readSettingsFile(). On failure returns false and
/// says in problem what is wrong (missing, too large, unreadable, a key set twice in one object,
/// malformed, not an object) without naming the file.
TERMINALHOST_EXPORT bool readJsonObject(const QString& path, QJsonObject* out, QString* problem);

/// The toolkit's mark for an integer that has no value to show: a table cell shows "-".
constexpr int kNoIntValue = 0x7FFFFFFF;

/// UTF-8 bytes from the services to text.
TERMINALHOST_EXPORT QString sToQs(const std::string& utf8);
/// Text back to UTF-8 bytes.
TERMINALHOST_EXPORT std::string qsToS(const QString& text);
/// Seconds since the epoch to a local date and time.
TERMINALHOST_EXPORT QDateTime secondToQDateTime(int seconds);

/// A double as plain decimal text: no exponent, no trailing zeros, at most six decimals (rounded to
/// nearest, halves away from zero).
TERMINALHOST_EXPORT QString formatDoubleNumber(double value);

/// Room writeDoubleNumber may need: the longest double in plain decimal, sign and decimals included.
constexpr int kDoubleNumberCapacity = 330;
/// Writes formatDoubleNumber(value) as Latin-1 into buffer, which holds
/// kDoubleNumberCapacity characters, and returns how many it wrote. Allocates nothing below 1e9,
/// so that long series of numbers go straight into one text.
TERMINALHOST_EXPORT int writeDoubleNumber(double value, char* buffer);
