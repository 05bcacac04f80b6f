#pragma once

#include <terminalhost/hostutils.h>
#include <terminalhost/terminalhost_export.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <typeinfo>
#include <utility>

/**
 * @brief How many objects of one type were created and how many live now. Updated by the objects
 * themselves from any thread: two relaxed atomic additions per object, nothing else.
 */
class TERMINALHOST_EXPORT CObjectCounter
{
public:
    void objectCreated() noexcept
    {
        m_created.fetch_add(1, std::memory_order_relaxed);
        m_alive.fetch_add(1, std::memory_order_relaxed);
    }
    void objectDestroyed() noexcept { m_alive.fetch_sub(1, std::memory_order_relaxed); }

    /// Sets both counts at once, as a test or a benchmark does to stand for a type's history.
    void setCounts(long long created, long long alive) noexcept
    {
        m_created.store(created, std::memory_order_relaxed);
        m_alive.store(alive, std::memory_order_relaxed);
    }

    long long created() const noexcept { return m_created.load(std::memory_order_relaxed); }
    long long alive() const noexcept { return m_alive.load(std::memory_order_relaxed); }

private:
    std::atomic<long long> m_created{0};
    std::atomic<long long> m_alive{0};
};

/**
 * @brief The data layer's type registry: one object counter per type name, for the object count
 * monitor. A type appears with its first object and stays; its counts follow the objects.
 */
class TERMINALHOST_EXPORT TypeManager
{
public:
    /// (created, alive) by type name; a count too large for an int reads kNoIntValue.
    using Statistics = std::map<std::string, std::pair<int, int>>;

    static TypeManager* instance();

    /// The counts of every type seen so far, ordered by name. Any thread.
    Statistics getObjectStatisticks() const;

    /// The counter of a type name, made on first use; it lives as long as the process. Any thread.
    CObjectCounter& counter(const std::string& typeName);
    /// The counter of a C++ type, under its plain class name ("COrderDetail").
    CObjectCounter& counter(const std::type_info& type);
    /// The class name of a C++ type as the source writes it, whatever the compiler's own spelling.
    static std::string typeName(const std::type_info& type);

private:
    TypeManager() = default;

    mutable std::mutex m_mutex;
    std::map<std::string, std::unique_ptr<CObjectCounter>> m_counters;
};
