#pragma once

#include <type_traits>

// A Format argument as C varargs take it: the string class and its std string
// pass their text pointer, an array decays, anything else must be trivially
// copyable and passes as it is.
template <class StringClass, class StdString, class T>
auto FormatVarArg(const T& v)
{
    if constexpr (std::is_same_v<T, StringClass>)
        return v.GetString();
    else if constexpr (std::is_same_v<T, StdString>)
        return v.c_str();
    else if constexpr (std::is_array_v<T>)
        return static_cast<const std::remove_extent_t<T>*>(v);
    else {
        static_assert(std::is_trivially_copyable_v<T>, "pass texts as pointers");
        return v;
    }
}
