#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QByteArray>
#include <QString>

#include <map>
#include <string>
#include <utility>
#include <vector>

/**
 * @brief A log4cxx properties file, read whole and checked before log4cxx sees it.
 *
 * log4cxx reports most mistakes itself on stderr ("log4cxx: ...") and runs on with what it
 * understood. The check refuses, with the file, the line and the problem named, only what log4cxx
 * does not survive or should never be given:
 * - a file larger than kMaxSettingsFileBytes;
 * - a `${name}` that refers to itself or to a circle of variables (log4cxx recurses until the stack
 *   runs out), or variables that expand past kMaxExpansion characters or substitutions (log4cxx
 *   expands every use anew, so a few lines can keep it busy for ever);
 * - a value that ends in a lone backslash, which log4cxx reads past;
 * - a logger level with a class of its own ("INFO#class"), which log4cxx 1.0 falls over on when
 *   the class is no level class;
 * - a conversion pattern field wider than 1000 characters, to which log4cxx pads every line;
 * - a DailyRollingFileAppender, which log4cxx 1.0 starts without a rolling policy: it never rolls.
 * Keys and values are UTF-8 (log4cxx's own reader takes them for Latin-1).
 */
class TERMINALHOST_EXPORT CLogConfigFile
{
public:
    static constexpr long kMaxExpansion = 64 * 1024;

    /// Reads and checks the file. On failure returns false and names the file and the problem in error.
    bool load(const QString& path, QString* error);
    /// Checks text as the contents of a file called path (path only names it in messages).
    bool parse(const QByteArray& text, const QString& path, QString* error);

    /// The settings in file order as log4cxx is to receive them: keys unescaped, values as written
    /// (log4cxx expands the variables itself). Empty until a successful load or parse.
    const std::vector<std::pair<std::string, std::string>>& settings() const { return m_settings; }
    /// A log4j.* setting's value with its variables expanded; empty when not set.
    std::string expanded(const std::string& key) const;

    /// Hands the checked settings to log4cxx, replacing its configuration. When log4cxx gives up
    /// on them, returns false and names the file and log4cxx's reason in error.
    bool apply(QString* error) const;

private:
    struct Setting {
        std::string value;
        int line = 0;
    };
    struct Expansion {
        std::string value;
        long substitutions = 0;
    };
    bool fail(const QString& problem, int line = 0);
    void readLines(const QByteArray& text);
    bool expand(const std::string& value, int line, std::vector<std::string>& stack, Expansion* out);
    bool checkExpanded(const std::string& key, const std::string& value, int line);

    QString m_path;
    QString m_error;
    std::map<std::string, Setting> m_byKey; ///< the last setting of each key, as log4cxx keeps it
    std::map<std::string, std::string> m_expanded; ///< log4j.* keys after expansion
    std::map<std::string, Expansion> m_cache;      ///< variables already expanded
    std::vector<std::pair<std::string, std::string>> m_settings;
};
