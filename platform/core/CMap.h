#pragma once

#include <map>

struct CPositionTag;
// Iteration handle of the framework's collections; null ends an iteration.
using POSITION = CPositionTag*;

// Map from KEY to VALUE. Iteration runs in ascending key order.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
public:
    int GetCount() const { return static_cast<int>(m_map.size()); }
    int GetSize() const { return GetCount(); }
    bool IsEmpty() const { return m_map.empty(); }

    bool Lookup(ARG_KEY key, VALUE& value) const
    {
        auto it = m_map.find(key);
        if (it == m_map.end())
            return false;
        value = it->second;
        return true;
    }
    void SetAt(ARG_KEY key, ARG_VALUE value) { m_map[key] = value; }
    // Inserts a default value when the key is new.
    VALUE& operator[](ARG_KEY key) { return m_map[key]; }
    bool RemoveKey(ARG_KEY key) { return m_map.erase(key) > 0; }
    void RemoveAll() { m_map.clear(); }

    POSITION GetStartPosition() const
    {
        return m_map.empty() ? nullptr : ToPosition(m_map.begin());
    }
    // Reads the entry at pos and moves pos to the next one (null after the last).
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const
    {
        const auto* entry = reinterpret_cast<const typename Map::value_type*>(pos);
        key = entry->first;
        value = entry->second;
        auto next = m_map.upper_bound(entry->first);
        pos = next == m_map.end() ? nullptr : ToPosition(next);
    }

private:
    using Map = std::map<KEY, VALUE>;

    static POSITION ToPosition(typename Map::const_iterator it)
    {
        return reinterpret_cast<POSITION>(const_cast<typename Map::value_type*>(&*it));
    }

    Map m_map;
};
