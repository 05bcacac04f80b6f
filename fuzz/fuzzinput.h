#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

/// @brief What every fuzz target needs around the reader it feeds: an application, a scratch
/// folder for the input and for whatever a reader may write, and the input as a file.
class CFuzzInput
{
public:
    /// Sets up once per process: an offscreen GUI application and a scratch folder as working folder.
    static void setUp(int* argc, char*** argv);
    /// Writes the input to the scratch file and returns its path.
    static QString asFile(const std::uint8_t* data, std::size_t size, const char* name);
    static QByteArray asBytes(const std::uint8_t* data, std::size_t size);
};
