// Feeds log configurations (config/log4cxx.properties) to the checker, and whatever it accepts to
// log4cxx itself: an accepted file must never make log4cxx crash, hang or recurse.
#include "fuzzinput.h"

#include <terminalhost/logconfigfile.h>

#include <log4cxx/logger.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {
// log4cxx 1.0 frees a RollingFileAppender's rolling policy with the size of another type when it
// replaces or ends the appender (AddressSanitizer: new-delete-type-mismatch inside liblog4cxx;
// harmless with glibc's allocator, which ignores the size). Such a file is checked, not applied.
bool hasRollingAppender(const CLogConfigFile& file)
{
    for (const auto& setting : file.settings()) {
        const std::string& key = setting.first;
        if (key.rfind("log4j.appender.", 0) != 0 || key.find('.', sizeof("log4j.appender.") - 1) != std::string::npos)
            continue;
        std::string value = file.expanded(key);
        std::transform(value.begin(), value.end(), value.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (value.find("rollingfileappender") != std::string::npos)
            return true;
    }
    return false;
}
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    CFuzzInput::setUp(argc, argv);
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
    if (hasRollingAppender(file))
        return 0;
    file.apply();
    LOG4CXX_INFO(log4cxx::Logger::getLogger("fuzz"), "configured");
    return 0;
}
