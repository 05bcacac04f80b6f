// Feeds installation settings files (config/terminal.json) to the configuration reader.
#include "fuzzinput.h"

#include <terminalhost/config.h>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    CFuzzInput::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CConfig* config = getConfig();
    config->reset();
    QString error;
    if (!config->load(CFuzzInput::asFile(data, size, "terminal.json"), &error) && error.isEmpty())
        std::abort(); // a refusal always says why
    return 0;
}
