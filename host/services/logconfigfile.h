#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QByteArray>
#include <QString>

#include <map>
#include <string>
#include <utility>
#include <vector>

/**
 * @brief A log4cxx properties file, read and checked whole before log4cxx sees it.
 *
 * log4cxx itself runs on with whatever it understood: an unknown level becomes DEBUG, a misspelt
 * appender class or a missing layout is skipped, a log folder that does not exist is created, and a
 * variable that refers to itself recurses until the stack runs out. So the terminal checks the
 * file first and refuses it with the file, the line and the problem named:
 * - UTF-8 text of at most kMaxSettingsFileBytes, one `key=value` (or `key: value`) per logical line;
 *   `#` and `!` start comments, a trailing backslash continues the line; no key set twice;
 * - every `${name}` resolves, from the environment first and the file second (as log4cxx looks),
 *   without a cycle and to at most kMaxExpandedChars characters;
 * - `log4j.rootLogger`, `log4j.logger.NAME` (or `log4j.rootCategory`, `log4j.category.NAME`) name a
 *   known level and appenders the file defines, and at least one of them is set;
 * - each appender is a ConsoleAppender, FileAppender or RollingFileAppender (log4cxx 1.0 starts a
 *   DailyRollingFileAppender from a properties file without its rolling policy, and it writes
 *   nothing) with a PatternLayout or SimpleLayout, every option is one that class knows, with a
 *   value of its kind; a conversion pattern uses known conversions only;
 * - a file appender's folder exists and is writable (it is never created).
 * Other keys are free: they are the file's own variables.
 */
class TERMINALHOST_EXPORT CLogConfigFile
{
public:
    static constexpr int kMaxExpandedChars = 64 * 1024;

    /// Reads and checks the file. On failure returns false and names the file and the problem in error.
    bool load(const QString& path, QString* error);
    /// Checks text as the contents of a file called path (path only names it in messages).
    bool parse(const QByteArray& text, const QString& path, QString* error);

    /// The settings in file order as log4cxx is to receive them: keys unescaped, values as written
    /// (log4cxx expands the variables itself). Empty until a successful load or parse.
    const std::vector<std::pair<std::string, std::string>>& settings() const { return m_settings; }
    /// A setting's value with its variables expanded; empty when not set.
    std::string expanded(const std::string& key) const;

    /// Hands the checked settings to log4cxx, replacing its configuration.
    void apply() const;

private:
    struct Setting {
        std::string value;
        int line = 0;
    };
    bool fail(const QString& problem, int line = 0);
    bool readLines(const QByteArray& text);
    bool expand(const std::string& value, int line, std::vector<std::string>& stack, std::string* out);
    bool checkLoggers();
    bool checkAppender(const std::string& name);
    bool checkOption(const std::string& key, const std::string& option, const std::string& value, int line);
    bool checkPattern(const std::string& pattern, int line);

    QString m_path;
    QString m_error;
    std::map<std::string, Setting> m_byKey;
    std::map<std::string, std::string> m_expanded; ///< log4j.* keys after expansion
    std::map<std::string, std::string> m_cache;    ///< variables already expanded
    std::vector<std::pair<std::string, std::string>> m_settings;
};
