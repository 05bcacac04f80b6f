#include "logconfigfile.h"

#include <terminalhost/hostutils.h>

#include <QStringList>

#include <log4cxx/helpers/properties.h>
#include <log4cxx/propertyconfigurator.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {
constexpr std::size_t kMaxNesting = 64; // variables within variables; our own expansion recurses too
constexpr int kMaxFieldWidth = 1000;    // characters; log4cxx pads every line to the width it is given
constexpr std::size_t kMaxWidthDigits = 4;
const char kPrefix[] = "log4j.";
const char kAppenderPrefix[] = "log4j.appender.";
const char kPatternSuffix[] = ".layout.conversionpattern"; // log4cxx compares options without case
const char kDailyAppender[] = "dailyrollingfileappender";
const char* const kLoggerKeys[] = {"log4j.rootLogger", "log4j.rootCategory", "log4j.logger.", "log4j.category."};
const char kBlanks[] = " \t\f";

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool endsWith(const std::string& text, const char* suffix)
{
    const std::size_t length = std::strlen(suffix);
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

std::string leftTrimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(kBlanks);
    return first == std::string::npos ? std::string() : text.substr(first);
}

bool endsWithOddBackslashes(const std::string& text)
{
    const auto kept = text.find_last_not_of('\\');
    return (text.size() - (kept == std::string::npos ? 0 : kept + 1)) % 2 == 1;
}

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// Unescapes a key or value as a properties file writes them.
std::string unescape(const std::string& in)
{
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\' || i + 1 == in.size()) {
            out.push_back(in[i]);
            continue;
        }
        const char c = in[++i];
        bool isCode = false;
        const ushort code = c == 'u' && i + 4 < in.size() ? text(in.substr(i + 1, 4)).toUShort(&isCode, 16) : 0;
        if (isCode) {
            out += QString(QChar(code)).toStdString();
            i += 4;
        } else {
            out.push_back(c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c == 'f' ? '\f' : c);
        }
    }
    return out;
}

// The first field width in a conversion pattern above kMaxFieldWidth, as written; empty when none is.
std::string tooWideField(const std::string& pattern)
{
    for (std::size_t i = pattern.find('%'); i != std::string::npos; i = pattern.find('%', i + 1)) {
        if (pattern.compare(i + 1, 1, "%") == 0) {
            ++i; // a literal percent sign
            continue;
        }
        std::size_t at = i + 1 + (pattern.compare(i + 1, 1, "-") == 0 ? 1 : 0);
        // The minimum and the maximum width, "%-20.30m".
        while (at < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[at]))) {
            const std::size_t end = std::min(pattern.find_first_not_of("0123456789", at), pattern.size());
            const std::string digits = pattern.substr(at, end - at);
            if (digits.size() > kMaxWidthDigits || std::stoi(digits) > kMaxFieldWidth)
                return digits;
            at = end + (pattern.compare(end, 1, ".") == 0 ? 1 : 0);
        }
    }
    return {};
}
}

bool CLogConfigFile::fail(const QString& problem, int line)
{
    m_error = line > 0 ? QStringLiteral("log configuration %1, line %2: %3").arg(m_path).arg(line).arg(problem)
                       : QStringLiteral("log configuration %1: %2").arg(m_path, problem);
    m_settings.clear();
    return false;
}

bool CLogConfigFile::load(const QString& path, QString* error)
{
    QByteArray bytes;
    QString problem;
    m_path = path;
    if (!readSettingsFile(path, &bytes, &problem)) {
        fail(problem);
        if (error)
            *error = m_error;
        return false;
    }
    return parse(bytes, path, error);
}

bool CLogConfigFile::parse(const QByteArray& text, const QString& path, QString* error)
{
    m_path = path;
    m_byKey.clear();
    m_expanded.clear();
    m_cache.clear();
    m_settings.clear();
    readLines(text);
    for (const auto& entry : m_byKey) {
        if (!startsWith(entry.first, kPrefix))
            continue; // a variable: expanded where it is used
        std::vector<std::string> stack;
        Expansion expansion;
        if (!expand(entry.second.value, entry.second.line, stack, &expansion)
            || !checkExpanded(entry.first, expansion.value, entry.second.line)) {
            if (error)
                *error = m_error;
            return false;
        }
        m_expanded[entry.first] = std::move(expansion.value);
    }
    return true;
}

void CLogConfigFile::readLines(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        std::string logical = leftTrimmed(lines[i].toStdString());
        if (logical.empty() || logical[0] == '#' || logical[0] == '!')
            continue;
        // A trailing backslash that is not itself escaped continues the line.
        while (!logical.empty() && (logical.back() == '\r' || endsWithOddBackslashes(logical))) {
            const bool continues = logical.back() == '\\';
            logical.pop_back();
            if (continues && i + 1 < lines.size())
                logical += leftTrimmed(lines[++i].toStdString());
        }
        // The key ends at the first '=', ':' or blank that is not escaped.
        std::size_t end = 0;
        while (end < logical.size() && !std::strchr("=: \t\f", logical[end]))
            end += logical[end] == '\\' ? 2 : 1;
        std::string value = leftTrimmed(logical.substr(std::min(end, logical.size())));
        if (!value.empty() && (value[0] == '=' || value[0] == ':'))
            value = leftTrimmed(value.substr(1));
        const std::string key = unescape(logical.substr(0, end));
        m_byKey[key] = Setting{unescape(value), lineNumber};
        m_settings.emplace_back(key, m_byKey[key].value);
    }
}

// Expands value as log4cxx will: the environment first, then the file; an unknown variable is empty.
// log4cxx remembers no expansion, so the substitutions it would make are counted as it makes them.
bool CLogConfigFile::expand(const std::string& value, int line, std::vector<std::string>& stack, Expansion* out)
{
    std::size_t position = 0;
    while (out->value.size() <= static_cast<std::size_t>(kMaxExpansion) && out->substitutions <= kMaxExpansion) {
        const std::size_t open = value.find("${", position);
        const std::size_t close = open == std::string::npos ? open : value.find('}', open);
        if (close == std::string::npos) {
            out->value.append(value, position, std::string::npos); // log4cxx names an unclosed "${" itself
            if (out->value.size() <= static_cast<std::size_t>(kMaxExpansion))
                return true;
            break;
        }
        out->value.append(value, position, open - position);
        position = close + 1;
        const std::string name = value.substr(open + 2, close - open - 2);
        const auto circle = std::find(stack.begin(), stack.end(), name);
        if (circle != stack.end()) {
            QStringList names;
            for (auto it = circle; it != stack.end(); ++it)
                names << text(*it);
            return fail(names.size() == 1 ? QStringLiteral("variable %1 refers to itself").arg(names.first())
                                          : QStringLiteral("variables refer to each other in a circle: %1 -> %2")
                                                .arg(names.join(QStringLiteral(" -> ")), names.first()),
                        line);
        }
        if (stack.size() >= kMaxNesting)
            return fail(QStringLiteral("variables nest more than %1 deep").arg(kMaxNesting), line);
        auto cached = m_cache.find(name);
        if (cached == m_cache.end()) {
            const char* environment = std::getenv(name.c_str());
            const auto defined = m_byKey.find(name);
            const bool fromFile = !(environment && *environment) && defined != m_byKey.end();
            const std::string replacement = fromFile ? defined->second.value : environment ? environment : "";
            Expansion expansion;
            stack.push_back(name);
            if (!expand(replacement, fromFile ? defined->second.line : line, stack, &expansion))
                return false;
            stack.pop_back();
            cached = m_cache.emplace(name, std::move(expansion)).first;
        }
        out->value += cached->second.value;
        out->substitutions += 1 + cached->second.substitutions;
    }
    return fail(QStringLiteral("its variables expand past %1 characters or substitutions").arg(kMaxExpansion), line);
}

bool CLogConfigFile::checkExpanded(const std::string& key, const std::string& value, int line)
{
    if (endsWithOddBackslashes(value))
        return fail(QStringLiteral("%1 ends with a lone backslash (write \\\\\\\\ for one)").arg(text(key)), line);
    const std::string option = lower(key);
    if (endsWith(option, kPatternSuffix)) {
        const std::string width = tooWideField(value);
        if (!width.empty())
            return fail(QStringLiteral("the conversion pattern has a field width of %1; at most %2").arg(text(width)).arg(kMaxFieldWidth), line);
    }
    // "LEVEL#class" names a level class of its own; log4cxx 1.0 sets a logger's level to null, and
    // falls over, when the class is no level class.
    const std::string level = value.substr(0, value.find(','));
    const bool logger = std::any_of(std::begin(kLoggerKeys), std::end(kLoggerKeys), [&key](const char* prefix) { return startsWith(key, prefix); });
    if (logger && level.find('#') != std::string::npos)
        return fail(QStringLiteral("%1: a level with a class of its own (\"%2\") can bring log4cxx down; use a plain level")
                        .arg(text(key), text(level).trimmed()),
                    line);
    const bool appenderClass = startsWith(option, kAppenderPrefix) && option.find('.', std::strlen(kAppenderPrefix)) == std::string::npos;
    if (appenderClass && lower(value).find(kDailyAppender) != std::string::npos)
        return fail(QStringLiteral("%1: DailyRollingFileAppender never rolls with this log4cxx (it starts without a rolling "
                                   "policy); use RollingFileAppender")
                        .arg(text(key)),
                    line);
    return true;
}

std::string CLogConfigFile::expanded(const std::string& key) const
{
    const auto it = m_expanded.find(key);
    return it == m_expanded.end() ? std::string() : it->second;
}

bool CLogConfigFile::apply(QString* error) const
{
    log4cxx::helpers::Properties properties;
    for (const auto& setting : m_settings)
        properties.setProperty(setting.first, setting.second);
    try {
        log4cxx::PropertyConfigurator::configure(properties);
    } catch (const std::exception& problem) {
        // A few mistakes leave log4cxx as exceptions (a logger factory class it cannot make); what
        // it read before stays in force.
        if (error)
            *error = QStringLiteral("log configuration %1: log4cxx stopped reading it: %2").arg(m_path, QString::fromLocal8Bit(problem.what()));
        return false;
    }
    return true;
}
