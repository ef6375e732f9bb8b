#pragma once

#include <cassert>
#include <filesystem>
#include <string>
#include <vector>

namespace penarin {

// A rectangular table of texts as the exports write it: lines and cells both
// counted from 0, every line with the same number of cells, cells never set
// are empty.
class TextTable
{
public:
    TextTable() = default;
    TextTable(int lineCount, int cellCount)
        : m_cellCount(cellCount),
          m_lines(static_cast<std::size_t>(lineCount),
                  std::vector<std::u16string>(static_cast<std::size_t>(cellCount)))
    {}

    [[nodiscard]] int lineCount() const { return static_cast<int>(m_lines.size()); }
    [[nodiscard]] int cellCount() const { return m_cellCount; }

    [[nodiscard]] const std::u16string &at(int line, int cell) const
    {
        assert(line >= 0 && line < lineCount() && cell >= 0 && cell < m_cellCount);
        return m_lines[static_cast<std::size_t>(line)][static_cast<std::size_t>(cell)];
    }
    void set(int line, int cell, std::u16string text)
    {
        assert(line >= 0 && line < lineCount() && cell >= 0 && cell < m_cellCount);
        m_lines[static_cast<std::size_t>(line)][static_cast<std::size_t>(cell)] = std::move(text);
    }

    // Appends one empty cell to every line; returns the new cell's index.
    int addCellColumn()
    {
        for (auto &line : m_lines)
            line.emplace_back();
        return m_cellCount++;
    }

    friend bool operator==(const TextTable &, const TextTable &) = default;

private:
    int m_cellCount = 0;
    std::vector<std::vector<std::u16string>> m_lines;
};

} // namespace penarin
