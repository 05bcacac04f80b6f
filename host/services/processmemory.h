#pragma once

#include <terminalhost/terminalhost_export.h>

#include <optional>

/**
 * @brief The terminal process's own memory as the system sees it: its resident size, and giving
 * back what the process holds without using it.
 */
class TERMINALHOST_EXPORT CProcessMemory
{
public:
    /// The debug id under which trimWorkingSet() logs (CLogCenter::setFileLogEnabled).
    static constexpr int kTrimDebugId = 71;

    static CProcessMemory* instance();

    /**
     * Gives the memory the process holds but does not use back to the system: on Windows its
     * working set is emptied, with glibc the heap's free memory is released. Returns whether the
     * system did it; elsewhere false. Logs the resident size before and after (debug id 71).
     * GUI thread.
     */
    bool trimWorkingSet();
    /// The process's resident size in bytes; -1 where the system does not tell.
    static long long residentBytes();

    /// A fixed answer for trimWorkingSet(), which then leaves the process alone; an empty one asks
    /// the system again.
    void setTrimResult(std::optional<bool> result);

    /// The system answers again.
    void reset();

private:
    CProcessMemory() = default;
    std::optional<bool> m_trimResult;
};
