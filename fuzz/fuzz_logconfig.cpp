// Feeds log configurations (config/log4cxx.properties) to the checker, and whatever it accepts to
// log4cxx itself: an accepted file must never make log4cxx crash, hang or recurse.
#include "fuzzinput.h"

#include <terminalhost/logconfigfile.h>

#include <log4cxx/helpers/loglog.h>
#include <log4cxx/logger.h>

#include <QByteArray>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {
const char kAppenderPrefix[] = "log4j.appender.";

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Only console and file appenders writing into the scratch folder are handed to log4cxx: a fuzzed
// file must not write elsewhere or reach the network (socket, telnet, syslog appenders). Rolling
// appenders are left out too: log4cxx 1.0 frees their rolling policy with the size of another type
// (a new-delete type mismatch inside the library, harmless with glibc's allocator).
bool safeToApply(const CLogConfigFile& file)
{
    const std::string scratch = qgetenv("STATUSBAR_LOG_DIR").toStdString() + '/';
    for (const auto& setting : file.settings()) {
        const std::string key = lower(setting.first);
        if (key.rfind(kAppenderPrefix, 0) != 0)
            continue;
        const std::string value = file.expanded(setting.first);
        const std::string className = lower(value);
        const bool isClass = key.find('.', sizeof(kAppenderPrefix) - 1) == std::string::npos;
        if (isClass && !endsWith(className, "consoleappender") && (!endsWith(className, "fileappender") || endsWith(className, "rollingfileappender")))
            return false;
        const bool outside = !value.empty() && value[0] == '/' && value.rfind(scratch, 0) != 0;
        if (endsWith(key, ".file") && (outside || value.find("..") != std::string::npos))
            return false;
    }
    return true;
}
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    CFuzzInput::setUp(argc, argv);
    // What log4cxx says about each of millions of inputs would only slow the run down.
    log4cxx::helpers::LogLog::setQuietMode(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CLogConfigFile file;
    QString error;
    if (!file.parse(CFuzzInput::asBytes(data, size), QStringLiteral("log4cxx.properties"), &error)) {
        if (error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    if (!safeToApply(file) || !file.apply(&error))
        return 0;
    LOG4CXX_INFO(log4cxx::Logger::getLogger("fuzz"), "configured");
    return 0;
}
