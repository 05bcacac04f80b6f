#include "logconfigfile.h"

#include <terminalhost/hostutils.h>

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <log4cxx/helpers/properties.h>
#include <log4cxx/propertyconfigurator.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

namespace {
constexpr int kMaxNesting = 64;       // variables within variables
constexpr int kMaxFieldWidth = 1000;  // characters; log4cxx pads every line to the width it is given
constexpr long kMaxBufferSize = 1024 * 1024; // bytes; log4cxx allocates the whole buffer at once
const char kPrefix[] = "log4j.";
const char kAppenderPrefix[] = "log4j.appender.";
const char* const kLoggerPrefixes[] = {"log4j.logger.", "log4j.category."};
const char* const kRootKeys[] = {"log4j.rootLogger", "log4j.rootCategory"};
const char kAdditivityPrefix[] = "log4j.additivity.";
const char* const kLevels[] = {"TRACE", "DEBUG", "INFO", "WARN", "ERROR", "FATAL", "OFF", "ALL"};
const char* const kInheritLevels[] = {"INHERITED", "NULL"};
// What the PatternLayout understands after a %: a conversion word is good when one of these
// starts it (log4cxx reads the rest as literal text).
const char* const kConversions[] = {"c", "C", "d", "f", "F", "l", "L", "m", "M", "n", "p", "r", "t", "T", "x", "X", "y",
                                    "Y", "logger", "class", "date", "file", "location", "line", "message", "method",
                                    "level", "relative", "thread", "threadname", "ndc", "mdc", "properties", "throwable"};

enum class Kind { Level, Boolean, Count, BufferSize, FileSize, Target, Text, File };
struct Option {
    const char* name; // lower case; log4cxx compares options without case
    Kind kind;
};
const Option kWriterOptions[] = {{"threshold", Kind::Level}, {"encoding", Kind::Text}, {"immediateflush", Kind::Boolean}};
const Option kConsoleOptions[] = {{"target", Kind::Target}};
const Option kFileOptions[] = {{"file", Kind::File}, {"append", Kind::Boolean}, {"bufferedio", Kind::Boolean},
                               {"buffersize", Kind::BufferSize}};
const Option kRollingOptions[] = {{"maxfilesize", Kind::FileSize}, {"maximumfilesize", Kind::FileSize},
                                  {"maxbackupindex", Kind::Count}};

struct AppenderClass {
    const char* name; // lower case, without package
    bool console;
    bool rolling;
};
const AppenderClass kAppenders[] = {{"consoleappender", true, false},
                                    {"fileappender", false, false},
                                    {"rollingfileappender", false, true}};
const char kAppenderNames[] = "ConsoleAppender, FileAppender or RollingFileAppender";
// log4cxx 1.0 reads this class from a properties file but starts it without a rolling policy, and
// it then writes nothing.
const char kDailyAppender[] = "dailyrollingfileappender";

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\f");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\f");
    return text.substr(first, last - first + 1);
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// Class name without its package, as log4cxx matches it: "org.apache.log4j.FileAppender" is "fileappender".
std::string bareClassName(const std::string& name)
{
    const auto cut = name.find_last_of(".$");
    return lower(cut == std::string::npos ? name : name.substr(cut + 1));
}

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// Offset of the first byte that is not part of well-formed UTF-8 (NUL counts as bad), or -1.
long firstBadUtf8(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const long size = bytes.size();
    for (long i = 0; i < size;) {
        const unsigned char c = data[i];
        int extra = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c == 0)
            return i;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            low = c == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
            high = c == 0xED ? 0x9F : 0xBF; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (i + extra >= size)
            return i;
        if (data[i + 1] < low || data[i + 1] > high)
            return i;
        for (int k = 2; k <= extra; ++k) {
            if (data[i + k] < 0x80 || data[i + k] > 0xBF)
                return i;
        }
        i += extra + 1;
    }
    return -1;
}

// Unescapes a key or value as a properties file writes them; false on a broken \u escape.
bool unescape(const std::string& in, std::string* out)
{
    out->clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\' || i + 1 == in.size()) {
            out->push_back(in[i]);
            continue;
        }
        const char c = in[++i];
        switch (c) {
        case 't': out->push_back('\t'); break;
        case 'n': out->push_back('\n'); break;
        case 'r': out->push_back('\r'); break;
        case 'f': out->push_back('\f'); break;
        case 'u': {
            if (i + 4 >= in.size())
                return false;
            unsigned code = 0;
            for (int k = 1; k <= 4; ++k) {
                const char h = in[i + k];
                if (!std::isxdigit(static_cast<unsigned char>(h)))
                    return false;
                code = code * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : std::tolower(h) - 'a' + 10);
            }
            if (code == 0 || (code >= 0xD800 && code <= 0xDFFF))
                return false;
            out->append(QString(QChar(static_cast<ushort>(code))).toStdString());
            i += 4;
            break;
        }
        default: out->push_back(c); break;
        }
    }
    return true;
}

bool isLevel(const std::string& value, bool root)
{
    const std::string name = upper(value);
    for (const char* level : kLevels) {
        if (name == level)
            return true;
    }
    if (!root) {
        for (const char* level : kInheritLevels) {
            if (name == level)
                return true;
        }
    }
    return false;
}

bool isBoolean(const std::string& value)
{
    const std::string name = lower(value);
    return name == "true" || name == "false";
}

bool isCount(const std::string& value, bool positive)
{
    if (value.empty() || value.size() > 9 || !std::all_of(value.begin(), value.end(), [](unsigned char c) { return std::isdigit(c); }))
        return false;
    return !positive || std::atol(value.c_str()) > 0;
}

bool isFileSize(const std::string& value)
{
    std::string number = upper(value);
    for (const char* unit : {"KB", "MB", "GB"}) {
        const std::size_t length = number.size();
        if (length > 2 && number.compare(length - 2, 2, unit) == 0) {
            number = trimmed(number.substr(0, length - 2));
            break;
        }
    }
    return isCount(number, true);
}

const Option* findOption(const std::string& option, const AppenderClass& kind)
{
    auto search = [&option](const auto& table) -> const Option* {
        for (const Option& entry : table) {
            if (option == entry.name)
                return &entry;
        }
        return nullptr;
    };
    if (const Option* found = search(kWriterOptions))
        return found;
    if (kind.console)
        return search(kConsoleOptions);
    if (const Option* found = search(kFileOptions))
        return found;
    if (kind.rolling)
        return search(kRollingOptions);
    return nullptr;
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
    m_error.clear();
    m_byKey.clear();
    m_expanded.clear();
    m_cache.clear();
    m_settings.clear();
    bool ok = readLines(text);
    for (auto it = m_byKey.begin(); ok && it != m_byKey.end(); ++it) {
        if (!startsWith(it->first, kPrefix))
            continue; // a variable: expanded where it is used
        std::vector<std::string> stack;
        std::string value;
        ok = expand(it->second.value, it->second.line, stack, &value);
        m_expanded[it->first] = value;
        // log4cxx reads an escape's next character without looking for the end: a value that ends
        // in a lone backslash sends it past the string.
        const std::size_t lastKept = value.find_last_not_of('\\');
        const std::size_t trailing = value.size() - (lastKept == std::string::npos ? 0 : lastKept + 1);
        if (ok && trailing % 2 == 1)
            ok = fail(QStringLiteral("%1 ends with a lone backslash (write \\\\\\\\ for one)").arg(QString::fromStdString(it->first)), it->second.line);
    }
    ok = ok && checkLoggers();
    if (!ok) {
        if (error)
            *error = m_error;
        m_settings.clear();
        return false;
    }
    return true;
}

bool CLogConfigFile::readLines(const QByteArray& bytes)
{
    const long bad = firstBadUtf8(bytes);
    if (bad >= 0)
        return fail(QStringLiteral("not UTF-8 text (byte %1)").arg(bad + 1), static_cast<int>(bytes.left(static_cast<int>(bad)).count('\n')) + 1);

    const std::string all = bytes.toStdString();
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin <= all.size()) {
        std::size_t end = all.find('\n', begin);
        if (end == std::string::npos)
            end = all.size();
        std::string line = all.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        begin = end + 1;
    }

    auto leftTrimmed = [](const std::string& line) {
        const auto first = line.find_first_not_of(" \t\f");
        return first == std::string::npos ? std::string() : line.substr(first);
    };
    auto continues = [](const std::string& line) {
        std::size_t slashes = 0;
        for (auto it = line.rbegin(); it != line.rend() && *it == '\\'; ++it)
            ++slashes;
        return slashes % 2 == 1;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        std::string logical = leftTrimmed(lines[i]);
        if (logical.empty() || logical[0] == '#' || logical[0] == '!')
            continue;
        while (continues(logical)) {
            logical.pop_back();
            if (i + 1 == lines.size())
                break;
            logical += leftTrimmed(lines[++i]);
        }
        std::size_t separator = std::string::npos;
        for (std::size_t k = 0; k < logical.size(); ++k) {
            if (logical[k] == '\\') {
                ++k;
            } else if (logical[k] == '=' || logical[k] == ':') {
                separator = k;
                break;
            }
        }
        if (separator == std::string::npos)
            return fail(QStringLiteral("expected name=value, found \"%1\"").arg(text(logical.substr(0, 80))), lineNumber);
        std::string key;
        std::string value;
        if (!unescape(trimmed(logical.substr(0, separator)), &key) || !unescape(leftTrimmed(logical.substr(separator + 1)), &value))
            return fail(QStringLiteral("a broken \\u escape"), lineNumber);
        if (key.empty())
            return fail(QStringLiteral("a value without a name"), lineNumber);
        const auto known = m_byKey.find(key);
        if (known != m_byKey.end())
            return fail(QStringLiteral("%1 is set again (first on line %2)").arg(text(key)).arg(known->second.line), lineNumber);
        m_byKey[key] = Setting{value, lineNumber};
        m_settings.emplace_back(key, value);
    }
    return true;
}

bool CLogConfigFile::expand(const std::string& value, int line, std::vector<std::string>& stack, std::string* out)
{
    out->clear();
    std::size_t position = 0;
    while (true) {
        const std::size_t open = value.find("${", position);
        if (open == std::string::npos) {
            out->append(value, position, std::string::npos);
            break;
        }
        out->append(value, position, open - position);
        const std::size_t close = value.find('}', open + 2);
        if (close == std::string::npos)
            return fail(QStringLiteral("\"${\" without its closing \"}\""), line);
        const std::string name = value.substr(open + 2, close - open - 2);
        if (name.empty())
            return fail(QStringLiteral("\"${}\" names no variable"), line);
        if (std::find(stack.begin(), stack.end(), name) != stack.end()) {
            QStringList cycle;
            for (auto it = std::find(stack.begin(), stack.end(), name); it != stack.end(); ++it)
                cycle << text(*it);
            cycle << text(name);
            return fail(cycle.size() == 2 ? QStringLiteral("variable %1 refers to itself").arg(text(name))
                                          : QStringLiteral("variables refer to each other in a circle: %1").arg(cycle.join(QStringLiteral(" -> "))),
                        line);
        }
        if (static_cast<int>(stack.size()) >= kMaxNesting)
            return fail(QStringLiteral("variables nest more than %1 deep").arg(kMaxNesting), line);

        const auto cached = m_cache.find(name);
        if (cached != m_cache.end()) {
            out->append(cached->second);
            if (out->size() > static_cast<std::size_t>(kMaxExpandedChars))
                return fail(QStringLiteral("a value grows past %1 characters as its variables expand").arg(kMaxExpandedChars), line);
            position = close + 1;
            continue;
        }
        // As log4cxx looks: the environment first, then the file.
        std::string replacement;
        int definedOn = line;
        const char* environment = std::getenv(name.c_str());
        if (environment && *environment) {
            replacement = environment;
        } else {
            const auto defined = m_byKey.find(name);
            if (defined == m_byKey.end())
                return fail(QStringLiteral("${%1} is set neither in this file nor in the environment").arg(text(name)), line);
            replacement = defined->second.value;
            definedOn = defined->second.line;
        }
        stack.push_back(name);
        std::string expandedValue;
        if (!expand(replacement, definedOn, stack, &expandedValue))
            return false;
        stack.pop_back();
        out->append(expandedValue);
        m_cache.emplace(name, std::move(expandedValue)); // each variable is expanded once, however often it is used
        if (out->size() > static_cast<std::size_t>(kMaxExpandedChars))
            return fail(QStringLiteral("a value grows past %1 characters as its variables expand").arg(kMaxExpandedChars), line);
        position = close + 1;
    }
    if (out->size() > static_cast<std::size_t>(kMaxExpandedChars))
        return fail(QStringLiteral("a value grows past %1 characters as its variables expand").arg(kMaxExpandedChars), line);
    if (out->find("${") != std::string::npos)
        return fail(QStringLiteral("a value still holds \"${\" after its variables expand"), line);
    return true;
}

std::string CLogConfigFile::expanded(const std::string& key) const
{
    const auto it = m_expanded.find(key);
    return it == m_expanded.end() ? std::string() : it->second;
}

bool CLogConfigFile::checkLoggers()
{
    std::set<std::string> appenders;
    for (const auto& entry : m_byKey) {
        const std::string& key = entry.first;
        if (startsWith(key, kAppenderPrefix)) {
            const std::string rest = key.substr(std::char_traits<char>::length(kAppenderPrefix));
            if (rest.empty() || rest.find('.') == 0)
                return fail(QStringLiteral("%1 names no appender").arg(text(key)), entry.second.line);
            appenders.insert(rest.substr(0, rest.find('.')));
        }
    }

    bool anyLogger = false;
    for (const auto& entry : m_byKey) {
        const std::string& key = entry.first;
        const int line = entry.second.line;
        if (!startsWith(key, kPrefix) || startsWith(key, kAppenderPrefix))
            continue;
        const std::string value = trimmed(m_expanded[key]);
        const bool root = std::find(std::begin(kRootKeys), std::end(kRootKeys), key) != std::end(kRootKeys);
        bool logger = root;
        for (const char* prefix : kLoggerPrefixes) {
            if (startsWith(key, prefix)) {
                if (key.size() == std::char_traits<char>::length(prefix))
                    return fail(QStringLiteral("%1 names no logger").arg(text(key)), line);
                logger = true;
            }
        }
        if (logger) {
            anyLogger = true;
            std::vector<std::string> parts;
            std::size_t begin = 0;
            while (true) {
                const std::size_t comma = value.find(',', begin);
                parts.push_back(trimmed(value.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin)));
                if (comma == std::string::npos)
                    break;
                begin = comma + 1;
            }
            if (!parts[0].empty() && !isLevel(parts[0], root))
                return fail(QStringLiteral("%1: unknown level \"%2\"; use TRACE, DEBUG, INFO, WARN, ERROR, FATAL, OFF or ALL")
                                .arg(text(key), text(parts[0])),
                            line);
            for (std::size_t i = 1; i < parts.size(); ++i) {
                if (parts[i].empty())
                    return fail(QStringLiteral("%1: an empty appender name in \"%2\"").arg(text(key), text(value)), line);
                if (!appenders.count(parts[i]))
                    return fail(QStringLiteral("%1 writes to appender \"%2\", which is not defined (log4j.appender.%2)")
                                    .arg(text(key), text(parts[i])),
                                line);
            }
        } else if (startsWith(key, kAdditivityPrefix)) {
            if (!isBoolean(value))
                return fail(QStringLiteral("%1 must be true or false, not \"%2\"").arg(text(key), text(value)), line);
        } else if (key == "log4j.threshold") {
            if (!isLevel(value, true))
                return fail(QStringLiteral("%1: unknown level \"%2\"").arg(text(key), text(value)), line);
        } else if (key == "log4j.debug" || key == "log4j.reset") {
            if (!isBoolean(value))
                return fail(QStringLiteral("%1 must be true or false, not \"%2\"").arg(text(key), text(value)), line);
        } else {
            return fail(QStringLiteral("unknown setting %1").arg(text(key)), line);
        }
    }
    if (!anyLogger)
        return fail(QStringLiteral("no logger is configured; set log4j.rootLogger or a log4j.logger.NAME"));
    // An appender that no logger uses is still checked: it is a mistake waiting to be used.
    for (const std::string& name : appenders) {
        if (!checkAppender(name))
            return false;
    }
    return true;
}

bool CLogConfigFile::checkAppender(const std::string& name)
{
    const std::string classKey = kAppenderPrefix + name;
    const auto definition = m_byKey.find(classKey);
    if (definition == m_byKey.end()) {
        const int line = m_byKey.lower_bound(classKey + ".")->second.line;
        return fail(QStringLiteral("options for appender \"%1\", which is not defined (%2)").arg(text(name), text(classKey)), line);
    }
    const int line = definition->second.line;
    const std::string className = bareClassName(trimmed(m_expanded[classKey]));
    const AppenderClass* kind = nullptr;
    for (const AppenderClass& candidate : kAppenders) {
        if (className == candidate.name)
            kind = &candidate;
    }
    if (className == kDailyAppender)
        return fail(QStringLiteral("appender \"%1\": DailyRollingFileAppender writes nothing with this log4cxx (it starts without a "
                                   "rolling policy); use RollingFileAppender").arg(text(name)),
                    line);
    if (!kind)
        return fail(QStringLiteral("appender \"%1\": unknown class \"%2\"; use %3").arg(text(name), text(trimmed(m_expanded[classKey])), QLatin1String(kAppenderNames)),
                    line);

    const std::string layoutKey = classKey + ".layout";
    if (!m_byKey.count(layoutKey))
        return fail(QStringLiteral("appender \"%1\" has no layout (%2)").arg(text(name), text(layoutKey)), line);
    const std::string layout = bareClassName(trimmed(m_expanded[layoutKey]));
    if (layout != "patternlayout" && layout != "simplelayout")
        return fail(QStringLiteral("appender \"%1\": unknown layout \"%2\"; use PatternLayout or SimpleLayout")
                        .arg(text(name), text(trimmed(m_expanded[layoutKey]))),
                    m_byKey[layoutKey].line);

    bool hasFile = false;
    bool hasPattern = false;
    const std::string optionPrefix = classKey + ".";
    for (auto it = m_byKey.lower_bound(optionPrefix); it != m_byKey.end() && startsWith(it->first, optionPrefix.c_str()); ++it) {
        const std::string option = lower(it->first.substr(optionPrefix.size()));
        const std::string value = trimmed(m_expanded[it->first]);
        if (option == "layout")
            continue;
        if (startsWith(option, "layout.")) {
            if (layout != "patternlayout" || option != "layout.conversionpattern")
                return fail(QStringLiteral("appender \"%1\": the layout has no option %2").arg(text(name), text(it->first.substr(layoutKey.size() + 1))),
                            it->second.line);
            hasPattern = true;
            if (!checkPattern(m_expanded[it->first], it->second.line))
                return false;
            continue;
        }
        if (!checkOption(it->first, option, value, it->second.line))
            return false;
        if (!findOption(option, *kind))
            return fail(QStringLiteral("appender \"%1\": %2 has no option %3").arg(text(name), text(trimmed(m_byKey[classKey].value)), text(it->first.substr(optionPrefix.size()))),
                        it->second.line);
        hasFile = hasFile || option == "file";
    }
    if (layout == "patternlayout" && !hasPattern)
        return fail(QStringLiteral("appender \"%1\": the PatternLayout needs %2.ConversionPattern").arg(text(name), text(layoutKey)), line);
    if (!kind->console && !hasFile)
        return fail(QStringLiteral("appender \"%1\" needs a file (%2.File)").arg(text(name), text(classKey)), line);
    return true;
}

bool CLogConfigFile::checkOption(const std::string& key, const std::string& option, const std::string& value, int line)
{
    const Option* known = nullptr;
    for (const AppenderClass& kind : kAppenders) {
        if ((known = findOption(option, kind)))
            break;
    }
    if (!known)
        return true; // unknown to every class: the caller names it
    auto bad = [&](const QString& what) {
        return fail(QStringLiteral("%1 must be %2, not \"%3\"").arg(text(key), what, text(value)), line);
    };
    switch (known->kind) {
    case Kind::Level:
        return isLevel(value, true) || bad(QStringLiteral("a level (TRACE, DEBUG, INFO, WARN, ERROR, FATAL, OFF, ALL)"));
    case Kind::Boolean:
        return isBoolean(value) || bad(QStringLiteral("true or false"));
    case Kind::Count:
        return isCount(value, false) || bad(QStringLiteral("a whole number"));
    case Kind::BufferSize:
        return (isCount(value, true) && std::atol(value.c_str()) <= kMaxBufferSize)
            || bad(QStringLiteral("a whole number of bytes from 1 to %1").arg(kMaxBufferSize));
    case Kind::FileSize:
        return isFileSize(value) || bad(QStringLiteral("a size such as 10MB"));
    case Kind::Target:
        return lower(value) == "system.out" || lower(value) == "system.err" || bad(QStringLiteral("System.out or System.err"));
    case Kind::Text:
        return !value.empty() || bad(QStringLiteral("set"));
    case Kind::File: {
        if (value.empty())
            return bad(QStringLiteral("a file name"));
        const QFileInfo file(text(value));
        const QFileInfo folder(file.absolutePath());
        if (file.isDir())
            return fail(QStringLiteral("%1 names %2, which is a folder").arg(text(key), file.absoluteFilePath()), line);
        if (!folder.isDir())
            return fail(QStringLiteral("%1: the folder %2 does not exist (it is not created)").arg(text(key), QDir::toNativeSeparators(folder.absoluteFilePath())),
                        line);
        if (!folder.isWritable() || (file.exists() && !file.isWritable()))
            return fail(QStringLiteral("%1: %2 cannot be written").arg(text(key), file.absoluteFilePath()), line);
        return true;
    }
    }
    return true;
}

bool CLogConfigFile::checkPattern(const std::string& pattern, int line)
{
    const std::size_t size = pattern.size();
    for (std::size_t i = 0; i < size; ++i) {
        if (pattern[i] != '%')
            continue;
        const std::size_t start = i++;
        if (i < size && pattern[i] == '%')
            continue;
        if (i < size && pattern[i] == '-')
            ++i;
        // The minimum and the maximum width; a huge one would make log4cxx pad a line to gigabytes.
        for (int part = 0; part < 2; ++part) {
            const std::size_t digits = i;
            while (i < size && std::isdigit(static_cast<unsigned char>(pattern[i])))
                ++i;
            if (i - digits > 4 || (i > digits && std::stoi(pattern.substr(digits, i - digits)) > kMaxFieldWidth))
                return fail(QStringLiteral("the conversion pattern has a field width of %1 at position %2; at most %3")
                                .arg(text(pattern.substr(digits, std::min<std::size_t>(i - digits, 20))))
                                .arg(start + 1)
                                .arg(kMaxFieldWidth),
                            line);
            if (part == 0 && i < size && pattern[i] == '.')
                ++i;
            else
                break;
        }
        std::size_t end = i;
        while (end < size && std::isalpha(static_cast<unsigned char>(pattern[end])))
            ++end;
        const std::string word = pattern.substr(i, end - i);
        if (word.empty())
            return fail(QStringLiteral("the conversion pattern has a \"%\" without a conversion at position %1 (write %% for a percent sign)")
                            .arg(start + 1),
                        line);
        const bool known = std::any_of(std::begin(kConversions), std::end(kConversions),
                                       [&word](const char* name) { return startsWith(word, name); });
        if (!known)
            return fail(QStringLiteral("the conversion pattern has an unknown conversion %1").arg(QLatin1Char('%') + text(word)), line);
        i = end;
        while (i < size && pattern[i] == '{') {
            const std::size_t close = pattern.find('}', i);
            if (close == std::string::npos)
                return fail(QStringLiteral("the conversion pattern has a \"{\" without its \"}\" at position %1").arg(i + 1), line);
            i = close + 1;
        }
        --i; // the loop steps past the conversion
    }
    return true;
}

void CLogConfigFile::apply() const
{
    log4cxx::helpers::Properties properties;
    for (const auto& setting : m_settings)
        properties.setProperty(setting.first, setting.second);
    log4cxx::PropertyConfigurator::configure(properties);
}
