#include "processmemory.h"

#include <terminalhost/logcenter.h>

#include <log4cxx/logger.h>

#include <boost/format.hpp>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <unistd.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
const char kDebugLoggerName[] = "ZQDbgFile";
constexpr long long kBytesPerKb = 1024;

bool trimBySystem()
{
#ifdef _WIN32
    // Every access right (EmptyWorkingSet needs quota and query rights), the handle inheritable.
    const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, TRUE, GetCurrentProcessId());
    if (!process)
        return false;
    const BOOL emptied = EmptyWorkingSet(process);
    CloseHandle(process);
    return emptied != FALSE;
#elif defined(__GLIBC__)
    // Returns whether anything could be released; having nothing to give back is no failure.
    malloc_trim(0);
    return true;
#else
    return false;
#endif
}

void logTrim(long long before, long long after, bool trimmed)
{
    if (!CLogCenter::instance()->fileLogEnabled(CProcessMemory::kTrimDebugId))
        return;
    const log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger(kDebugLoggerName);
    if (!logger->isDebugEnabled())
        return;
    const std::string inner = (boost::format("CProcessMemory trimWorkingSet : resident %1% KB -> %2% KB, %3%")
                               % (before < 0 ? before : before / kBytesPerKb) % (after < 0 ? after : after / kBytesPerKb)
                               % (trimmed ? "trimmed" : "failed"))
                                  .str();
    LOG4CXX_DEBUG(logger, (boost::format("[dbg_id=%1%] %2%") % CProcessMemory::kTrimDebugId % inner).str());
}
}

CProcessMemory* CProcessMemory::instance()
{
    static CProcessMemory* memory = new CProcessMemory; // lives for the process
    return memory;
}

bool CProcessMemory::trimWorkingSet()
{
    const long long before = residentBytes();
    const bool trimmed = m_trimResult ? *m_trimResult : trimBySystem();
    logTrim(before, residentBytes(), trimmed);
    return trimmed;
}

long long CProcessMemory::residentBytes()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
        return -1;
    return static_cast<long long>(counters.WorkingSetSize);
#else
    // The second figure of statm is the resident size in pages.
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return -1;
    long long sizePages = 0;
    long long residentPages = 0;
    const int read = std::fscanf(statm, "%lld %lld", &sizePages, &residentPages);
    std::fclose(statm);
    if (read != 2)
        return -1;
    return residentPages * static_cast<long long>(sysconf(_SC_PAGESIZE));
#endif
}

void CProcessMemory::setTrimResult(std::optional<bool> result)
{
    m_trimResult = result;
}

void CProcessMemory::reset()
{
    m_trimResult.reset();
}
