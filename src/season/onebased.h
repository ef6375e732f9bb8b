#pragma once

#include <cassert>
#include <cstddef>
#include <initializer_list>
#include <vector>

namespace penarin {

// Team numbers, rows and snapshots are counted from 1 throughout the program,
// exactly as the season file stores them. This array takes those numbers as
// they are, so no "- 1" is scattered over the computations.
template <class T> class OneBased
{
public:
    OneBased() = default;
    explicit OneBased(int count, const T &value = T{})
        : m_items(static_cast<std::size_t>(count), value)
    {}
    OneBased(std::initializer_list<T> items) : m_items(items) {}

    [[nodiscard]] int size() const { return static_cast<int>(m_items.size()); }
    [[nodiscard]] bool empty() const { return m_items.empty(); }
    [[nodiscard]] bool contains(int index) const { return index >= 1 && index <= size(); }

    void resize(int count, const T &value = T{})
    {
        m_items.resize(static_cast<std::size_t>(count), value);
    }
    void assign(int count, const T &value)
    {
        m_items.assign(static_cast<std::size_t>(count), value);
    }
    void clear() { m_items.clear(); }
    void push_back(const T &value) { m_items.push_back(value); }

    T &operator[](int index)
    {
        assert(contains(index));
        return m_items[static_cast<std::size_t>(index - 1)];
    }
    const T &operator[](int index) const
    {
        assert(contains(index));
        return m_items[static_cast<std::size_t>(index - 1)];
    }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    [[nodiscard]] const std::vector<T> &items() const { return m_items; }
    [[nodiscard]] std::vector<T> &items() { return m_items; }

    friend bool operator==(const OneBased &, const OneBased &) = default;

private:
    std::vector<T> m_items;
};

} // namespace penarin
