#include "typemanager.h"

#include <cstdlib>

#if defined(__GNUG__)
#include <cxxabi.h>
#endif

namespace {
int asShownCount(long long count)
{
    return count < 0 || count >= kNoIntValue ? kNoIntValue : static_cast<int>(count);
}
}

TypeManager* TypeManager::instance()
{
    static TypeManager* manager = new TypeManager; // lives for the process: records die as late as at exit
    return manager;
}

TypeManager::Statistics TypeManager::getObjectStatisticks() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statistics statistics;
    for (const auto& entry : m_counters)
        statistics.emplace(entry.first, std::make_pair(asShownCount(entry.second->created()), asShownCount(entry.second->alive())));
    return statistics;
}

CObjectCounter& TypeManager::counter(const std::string& typeName)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::unique_ptr<CObjectCounter>& slot = m_counters[typeName];
    if (!slot)
        slot = std::make_unique<CObjectCounter>();
    return *slot;
}

CObjectCounter& TypeManager::counter(const std::type_info& type)
{
    return counter(typeName(type));
}

std::string TypeManager::typeName(const std::type_info& type)
{
    std::string name = type.name();
#if defined(__GNUG__)
    int status = 0;
    char* demangled = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status);
    if (status == 0 && demangled)
        name = demangled;
    std::free(demangled);
#else
    // MSVC names carry the kind of type in front.
    for (const char* prefix : {"class ", "struct "}) {
        const std::string kind(prefix);
        if (name.compare(0, kind.size(), kind) == 0)
            name.erase(0, kind.size());
    }
#endif
    return name;
}
