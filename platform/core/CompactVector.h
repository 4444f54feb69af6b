#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/core/block_pool.h"

// The storage of CArray: a vector whose handle is one pointer. Size and
// capacity live in front of the elements in the same heap block, so an
// empty array costs 8 bytes instead of a std::vector's 24; entities hold
// six arrays that are empty most of the time. Iterators are plain pointers.
// Small blocks come from the units' pool (block_pool.h): the grips of a
// large drawing's first frame are two small arrays per unit, and a fresh
// heap page for every few dozen of them was a page fault.
template <class T>
class CompactVector {
    static_assert(alignof(T) <= alignof(std::max_align_t), "over-aligned elements");

    struct Header {
        std::uint32_t size;
        std::uint32_t capacity;
    };
    static constexpr std::size_t kOffset = (sizeof(Header) + alignof(T) - 1) / alignof(T) * alignof(T);

public:
    using value_type = T;
    using iterator = T*;
    using const_iterator = const T*;

    CompactVector() noexcept = default;
    CompactVector(const CompactVector& other) { Append(other.begin(), other.end()); }
    CompactVector(CompactVector&& other) noexcept : m_block(std::exchange(other.m_block, nullptr)) {}
    CompactVector& operator=(const CompactVector& other)
    {
        if (this != &other) {
            CompactVector copy(other);
            std::swap(m_block, copy.m_block);
        }
        return *this;
    }
    CompactVector& operator=(CompactVector&& other) noexcept
    {
        if (this != &other) {
            Free();
            m_block = std::exchange(other.m_block, nullptr);
        }
        return *this;
    }
    ~CompactVector() { Free(); }

    std::size_t size() const { return m_block != nullptr ? Head()->size : 0; }
    std::size_t capacity() const { return m_block != nullptr ? Head()->capacity : 0; }
    bool empty() const { return size() == 0; }

    T* data() { return m_block != nullptr ? Elements() : nullptr; }
    const T* data() const { return m_block != nullptr ? Elements() : nullptr; }
    T* begin() { return data(); }
    T* end() { return data() + size(); }
    const T* begin() const { return data(); }
    const T* end() const { return data() + size(); }
    T& operator[](std::size_t i) { return Elements()[i]; }
    const T& operator[](std::size_t i) const { return Elements()[i]; }

    void reserve(std::size_t n)
    {
        if (n > capacity())
            Reallocate(n);
    }

    // New elements are value-initialised, as std::vector does.
    void resize(std::size_t n)
    {
        const std::size_t old = size();
        if (n < old) {
            std::destroy(begin() + n, end());
            Head()->size = static_cast<std::uint32_t>(n);
            return;
        }
        if (n == old)
            return;
        if (n > capacity())
            Reallocate(old == 0 ? n : Grown(n));
        T* p = Elements();
        for (std::size_t i = old; i < n; ++i) {
            ::new (static_cast<void*>(p + i)) T();
            Head()->size = static_cast<std::uint32_t>(i + 1);
        }
    }

    void clear()
    {
        if (m_block == nullptr)
            return;
        std::destroy(begin(), end());
        Head()->size = 0;
    }

    void shrink_to_fit()
    {
        if (empty())
            Free();
        else if (size() < capacity())
            Reallocate(size());
    }

    void push_back(const T& value)
    {
        if (size() < capacity()) {
            ::new (static_cast<void*>(end())) T(value);
            ++Head()->size;
            return;
        }
        T copy(value);          // value may live in this array
        Reallocate(Grown(size() + 1));
        ::new (static_cast<void*>(end())) T(std::move(copy));
        ++Head()->size;
    }

    // Inserts count copies of value before pos (value must not live here).
    T* insert(const T* pos, std::size_t count, const T& value)
    {
        const std::size_t at = static_cast<std::size_t>(pos - begin());
        Splice(at, count, [&](T* out, std::size_t) { ::new (static_cast<void*>(out)) T(value); });
        return begin() + at;
    }

    // Inserts [first, last) before pos (the range must not lie here).
    template <class It>
    T* insert(const T* pos, It first, It last)
    {
        const std::size_t at = static_cast<std::size_t>(pos - begin());
        const std::size_t count = static_cast<std::size_t>(std::distance(first, last));
        Splice(at, count, [&](T* out, std::size_t i) { ::new (static_cast<void*>(out)) T(*std::next(first, static_cast<std::ptrdiff_t>(i))); });
        return begin() + at;
    }

    T* erase(const T* first, const T* last)
    {
        T* from = begin() + (first - begin());
        const std::size_t count = static_cast<std::size_t>(last - first);
        if (count == 0)
            return from;
        T* newEnd = std::move(from + count, end(), from);
        std::destroy(newEnd, end());
        Head()->size -= static_cast<std::uint32_t>(count);
        return from;
    }

private:
    Header* Head() const { return reinterpret_cast<Header*>(m_block); }
    T* Elements() const { return std::launder(reinterpret_cast<T*>(m_block + kOffset)); }

    std::size_t Grown(std::size_t needed) const { return std::max(needed, 2 * capacity()); }

    static char* Allocate(std::size_t capacity)
    {
        if (capacity > UINT32_MAX || capacity > (SIZE_MAX - kOffset) / sizeof(T))
            throw std::bad_alloc();
        char* block = static_cast<char*>(PoolAllocate(kOffset + capacity * sizeof(T)));
        Header* h = reinterpret_cast<Header*>(block);
        h->size = 0;
        h->capacity = static_cast<std::uint32_t>(capacity);
        return block;
    }

    // Moves the elements into a block of the given capacity (>= size).
    void Reallocate(std::size_t capacity)
    {
        char* block = Allocate(capacity);
        const std::size_t n = size();
        if (n > 0) {
            Relocate(Elements(), n, reinterpret_cast<T*>(block + kOffset));
            std::destroy(begin(), end());
            reinterpret_cast<Header*>(block)->size = static_cast<std::uint32_t>(n);
        }
        Release(m_block);
        m_block = block;
    }

    // Makes the count new elements first (make(out, i)), then moves them
    // and the old ones into a new block, so a failed copy leaves this array
    // as it was.
    template <class Make>
    void Splice(std::size_t at, std::size_t count, Make make)
    {
        if (count == 0)
            return;
        CompactVector items;
        items.m_block = Allocate(count);
        for (std::size_t i = 0; i < count; ++i) {
            make(items.Elements() + i, i);
            ++items.Head()->size;
        }
        const std::size_t n = size();
        if (n + count <= capacity()) {
            // Room enough: shift the tail up in place, then move the new ones in.
            T* b = begin();
            if constexpr (std::is_trivially_copyable_v<T>) {
                std::memmove(static_cast<void*>(b + at + count), static_cast<const void*>(b + at), (n - at) * sizeof(T));
            } else {
                for (std::size_t i = n; i > at; --i) {
                    ::new (static_cast<void*>(b + i - 1 + count)) T(std::move(b[i - 1]));
                    b[i - 1].~T();
                }
            }
            Relocate(items.begin(), count, b + at);
            Head()->size = static_cast<std::uint32_t>(n + count);
            return;
        }
        CompactVector next;
        next.m_block = Allocate(Grown(n + count));
        T* out = next.Elements();
        Relocate(begin(), at, out);
        Relocate(items.begin(), count, out + at);
        Relocate(begin() + at, n - at, out + at + count);
        next.Head()->size = static_cast<std::uint32_t>(n + count);
        std::swap(m_block, next.m_block);     // the moved-from old block goes with next
    }

    static void Relocate(T* from, std::size_t count, T* to)
    {
        if (count == 0)
            return;
        if constexpr (std::is_trivially_copyable_v<T>) {
            std::memcpy(static_cast<void*>(to), static_cast<const void*>(from), count * sizeof(T));
        } else {
            static_assert(std::is_nothrow_move_constructible_v<T>, "elements must move without throwing");
            std::uninitialized_move(from, from + count, to);
        }
    }

    template <class It>
    void Append(It first, It last)
    {
        const std::size_t count = static_cast<std::size_t>(std::distance(first, last));
        if (count == 0)
            return;
        reserve(size() + count);
        for (; first != last; ++first) {
            ::new (static_cast<void*>(end())) T(*first);
            ++Head()->size;
        }
    }

    void Free() noexcept
    {
        if (m_block == nullptr)
            return;
        std::destroy(begin(), end());
        Release(m_block);
        m_block = nullptr;
    }

    // The block of a header's capacity back to the pool it came from.
    static void Release(char* block) noexcept
    {
        if (block != nullptr)
            PoolFree(block, kOffset + reinterpret_cast<Header*>(block)->capacity * sizeof(T));
    }

    char* m_block = nullptr;
};
