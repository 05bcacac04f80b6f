#pragma once

#include <terminalhost/typemanager.h>

/**
 * @brief Base of a record class whose objects the type manager counts: every construction (copies
 * and moves included) counts as created and alive, every destruction as no longer alive.
 *
 * Derive as `class CFoo : public IData, private TCountedObject<CFoo>`. The counter is looked up once
 * per module; a module's cached reference and another's name the same counter.
 */
template <typename T>
class TCountedObject
{
protected:
    TCountedObject() noexcept { counter().objectCreated(); }
    TCountedObject(const TCountedObject&) noexcept { counter().objectCreated(); }
    TCountedObject(TCountedObject&&) noexcept { counter().objectCreated(); }
    // Assignment changes an existing object: nothing is created.
    TCountedObject& operator=(const TCountedObject&) noexcept = default;
    TCountedObject& operator=(TCountedObject&&) noexcept = default;
    ~TCountedObject() { counter().objectDestroyed(); }

private:
    static CObjectCounter& counter()
    {
        static CObjectCounter& shared = TypeManager::instance()->counter(typeid(T));
        return shared;
    }
};
