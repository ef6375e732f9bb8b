#include "season/binaryio.h"

#include <bit>

namespace penarin {

void ByteReader::fail()
{
    m_ok = false;
    m_pos = m_bytes.size();
}

const std::uint8_t *ByteReader::take(std::size_t size)
{
    if (!m_ok || size > remaining()) {
        fail();
        return nullptr;
    }
    const std::uint8_t *at = m_bytes.data() + m_pos;
    m_pos += size;
    return at;
}

namespace {

std::uint16_t loadU16(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t loadU32(const std::uint8_t *p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t loadU64(const std::uint8_t *p)
{
    return static_cast<std::uint64_t>(loadU32(p)) |
           (static_cast<std::uint64_t>(loadU32(p + 4)) << 32);
}

} // namespace

std::int16_t ByteReader::int16()
{
    const std::uint8_t *p = take(2);
    return p ? static_cast<std::int16_t>(loadU16(p)) : 0;
}

std::int32_t ByteReader::int32()
{
    const std::uint8_t *p = take(4);
    return p ? static_cast<std::int32_t>(loadU32(p)) : 0;
}

float ByteReader::single()
{
    const std::uint8_t *p = take(4);
    return p ? std::bit_cast<float>(loadU32(p)) : 0.0f;
}

double ByteReader::date()
{
    const std::uint8_t *p = take(8);
    return p ? std::bit_cast<double>(loadU64(p)) : 0.0;
}

std::optional<ArrayHeader> ByteReader::arrayHeader(std::size_t elementSize)
{
    const std::int16_t dimensions = int16();
    if (!m_ok) {
        return std::nullopt;
    }
    if (dimensions == 0) {
        return ArrayHeader{};
    }
    if (dimensions != 1) {
        fail();
        return std::nullopt;
    }
    ArrayHeader header;
    header.allocated = true;
    header.count = static_cast<std::uint32_t>(int32());
    header.lowerBound = int32();
    // 64-bit product: a count near 2^32 must not wrap to a small size.
    if (!m_ok || static_cast<std::uint64_t>(header.count) * elementSize > remaining()) {
        fail();
        return std::nullopt;
    }
    return header;
}

std::optional<Text> ByteReader::byteString()
{
    const std::optional<ArrayHeader> header = arrayHeader(1);
    if (!header) {
        return std::nullopt;
    }
    const std::uint8_t *p = take(header->count);
    if (!p) {
        return std::nullopt;
    }
    Text text(header->count / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(loadU16(p + 2 * i));
    }
    return text;
}

std::vector<std::int16_t> ByteReader::int16Elements(std::uint32_t count)
{
    const std::uint8_t *p = take(static_cast<std::size_t>(count) * 2);
    if (!p) {
        return {};
    }
    std::vector<std::int16_t> values(count);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<std::int16_t>(loadU16(p + 2 * i));
    }
    return values;
}

std::vector<float> ByteReader::singleElements(std::uint32_t count)
{
    const std::uint8_t *p = take(static_cast<std::size_t>(count) * 4);
    if (!p) {
        return {};
    }
    std::vector<float> values(count);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = std::bit_cast<float>(loadU32(p + 4 * i));
    }
    return values;
}

void ByteWriter::unsigned16(std::uint16_t value)
{
    m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::unsigned32(std::uint32_t value)
{
    unsigned16(static_cast<std::uint16_t>(value & 0xFFFF));
    unsigned16(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::int16(std::int16_t value)
{
    unsigned16(static_cast<std::uint16_t>(value));
}

void ByteWriter::int32(std::int32_t value)
{
    unsigned32(static_cast<std::uint32_t>(value));
}

void ByteWriter::single(float value)
{
    unsigned32(std::bit_cast<std::uint32_t>(value));
}

void ByteWriter::date(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    unsigned32(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
    unsigned32(static_cast<std::uint32_t>(bits >> 32));
}

void ByteWriter::arrayHeader(std::size_t count, std::int32_t lowerBound)
{
    int16(1);
    unsigned32(static_cast<std::uint32_t>(count));
    int32(lowerBound);
}

void ByteWriter::unallocatedArray()
{
    int16(0);
}

void ByteWriter::byteString(const Text &text)
{
    arrayHeader(text.size() * 2, 0);
    for (const char16_t unit : text) {
        unsigned16(static_cast<std::uint16_t>(unit));
    }
}

void ByteWriter::int16Array(const std::vector<std::int16_t> &values, std::int32_t lowerBound)
{
    arrayHeader(values.size(), lowerBound);
    for (const std::int16_t value : values) {
        int16(value);
    }
}

void ByteWriter::singleArray(const std::vector<float> &values, std::int32_t lowerBound)
{
    arrayHeader(values.size(), lowerBound);
    for (const float value : values) {
        single(value);
    }
}

} // namespace penarin
