// Feeds log configurations (config/log4cxx.properties) to the checker, and whatever it accepts to
// log4cxx itself: an accepted file must never make log4cxx crash, hang or recurse.
#include "fuzzinput.h"

#include <terminalhost/logconfigfile.h>

#include <log4cxx/logger.h>

#include <cstdlib>

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
    file.apply();
    LOG4CXX_INFO(log4cxx::Logger::getLogger("fuzz"), "configured");
    return 0;
}
