#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

/**
 * @brief A map from string keys to values that keeps the sum of its values up to date.
 *
 * Each update adjusts the sum by the difference it makes, so reading the sum costs the same for
 * ten entries as for a million, and an update is one hash lookup on average. Not thread-safe: the
 * owner guards it.
 */
template <class T>
class TStringMapSum
{
public:
    /// Sets key to value, adding the key when it is new.
    void update(const std::string& key, T value)
    {
        const auto inserted = m_values.try_emplace(key, value);
        if (inserted.second) {
            m_sum += value;
            return;
        }
        T& stored = inserted.first->second;
        m_sum -= stored;
        m_sum += value;
        stored = value;
    }

    /// Forgets every key; the sum goes back to zero.
    void clear()
    {
        m_values.clear();
        m_sum = T();
    }

    T sum() const { return m_sum; }
    std::size_t size() const { return m_values.size(); }

private:
    std::unordered_map<std::string, T> m_values;
    T m_sum = T();
};
