#pragma once

#include "season/season.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace penarin {

// The season file stores a dynamic array as a 16-bit dimension count, then
// per dimension a 32-bit element count and a 32-bit lower bound, then the
// elements. Only d = 0 (unallocated, nothing follows) and d = 1 occur.
struct ArrayHeader
{
    bool allocated = false;
    std::uint32_t count = 0;
    std::int32_t lowerBound = 0;
};

// Little-endian reader over bytes in memory. The first short read or bad
// header puts it into a failed state in which every further read returns
// zero and every array header is refused, so a caller may check ok() only
// at convenient points without ever allocating from garbage.
class ByteReader
{
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] std::size_t remaining() const { return m_bytes.size() - m_pos; }
    void fail();

    std::int16_t int16();
    std::int32_t int32();
    float single();
    double date();

    // Refuses (and fails) a dimension count other than 0 or 1 and an element
    // count whose elements could not fit in what is left of the input, so
    // the count can be trusted for an allocation.
    std::optional<ArrayHeader> arrayHeader(std::size_t elementSize);

    // A byte string holding UTF-16LE text. A dangling odd byte cannot be half
    // a character of anything this program wrote; it is dropped.
    std::optional<Text> byteString();

    // `count` elements after a header accepted by arrayHeader().
    std::vector<std::int16_t> int16Elements(std::uint32_t count);
    std::vector<float> singleElements(std::uint32_t count);

private:
    const std::uint8_t *take(std::size_t size);

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

class ByteWriter
{
public:
    void int16(std::int16_t value);
    void int32(std::int32_t value);
    void single(float value);
    void date(double value);

    void arrayHeader(std::size_t count, std::int32_t lowerBound);
    void unallocatedArray();
    // Always allocated with lower bound 0, also when the text is empty.
    void byteString(const Text &text);
    // An Integer array with the given lower bound.
    void int16Array(const std::vector<std::int16_t> &values, std::int32_t lowerBound);
    void singleArray(const std::vector<float> &values, std::int32_t lowerBound);

    [[nodiscard]] std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    void unsigned16(std::uint16_t value);
    void unsigned32(std::uint32_t value);

    std::vector<std::uint8_t> m_bytes;
};

} // namespace penarin
