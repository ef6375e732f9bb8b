#include "season/profile.h"

#include "season/safewriter.h"
#include "season/textcodec.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace penarin {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Blanks = " \t\v\f\r";
constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimLeft(std::string_view text)
{
    const auto first = text.find_first_not_of(Blanks);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view trimRight(std::string_view text)
{
    const auto last = text.find_last_not_of(Blanks);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string_view trim(std::string_view text)
{
    return trimRight(trimLeft(text));
}

bool isBlank(char c)
{
    return Blanks.find(c) != std::string_view::npos;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

struct ParsedLine
{
    enum class Kind
    {
        Other, // blank, comment or anything else we only carry along
        Section,
        Entry,
    };
    Kind kind = Kind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // entry value, trimmed, quotes still on
};

ParsedLine parseLine(std::string_view line)
{
    const std::string_view text = trim(line);
    if (text.empty() || text.front() == ';')
        return {};
    if (text.front() == '[') {
        // The last "]" closes the name, so a name may itself hold one.
        const auto close = text.rfind(']');
        if (close != std::string_view::npos && close > 0)
            return {ParsedLine::Kind::Section, trim(text.substr(1, close - 1)), {}};
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return {};
    return {ParsedLine::Kind::Entry, trimRight(text.substr(0, equals)),
            trimLeft(text.substr(equals + 1))};
}

bool isQuote(char c)
{
    return c == '"' || c == '\'';
}

std::string decodeValue(std::string_view stored)
{
    if (stored.size() >= 2 && isQuote(stored.front()) && stored.back() == stored.front())
        stored = stored.substr(1, stored.size() - 2);
    // Older installations of this program stopped a value at a NUL.
    const auto nul = stored.find('\0');
    if (nul != std::string_view::npos)
        stored = stored.substr(0, nul);
    return std::string(stored);
}

std::string encodeValue(std::string_view value)
{
    const bool blankEdge = !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
    const bool looksQuoted =
        value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
    if (blankEdge || looksQuoted)
        return '"' + std::string(value) + '"';
    return std::string(value);
}

bool holdsLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool isStorableName(std::string_view name)
{
    return !name.empty() && !holdsLineBreakOrNul(name) && trim(name).size() == name.size();
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    auto continuation = [&](std::size_t k) { return k < n && (at(k) & 0xC0) == 0x80; };
    while (i < n) {
        const unsigned char lead = at(i);
        if (lead < 0x80) {
            ++i;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            if (!continuation(i + 1))
                return false;
            i += 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            if (!continuation(i + 1) || !continuation(i + 2))
                return false;
            const unsigned char second = at(i + 1);
            if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F))
                return false; // overlong form or UTF-16 surrogate
            i += 3;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            if (!continuation(i + 1) || !continuation(i + 2) || !continuation(i + 3))
                return false;
            const unsigned char second = at(i + 1);
            if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
                return false; // overlong form or beyond U+10FFFF
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

int profileInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Unsigned arithmetic wraps modulo 2^32 instead of overflowing.
    std::uint32_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative)
        magnitude = 0u - magnitude;
    return static_cast<std::int32_t>(magnitude);
}

Profile Profile::fromBytes(std::string_view bytes)
{
    Profile profile;
    if (bytes.starts_with(Utf8ByteOrderMark)) {
        profile.m_byteOrderMark = true;
        bytes.remove_prefix(Utf8ByteOrderMark.size());
    }
    const std::string text = isValidUtf8(bytes) ? std::string(bytes) : cp932ToUtf8(bytes);

    std::string_view rest = text;
    while (!rest.empty()) {
        const auto newline = rest.find('\n');
        std::string_view line = rest.substr(0, newline);
        rest = newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        profile.m_lines.emplace_back(line);
    }
    return profile;
}

Profile::LoadStatus Profile::load(const fs::path &path)
{
    // Not blocking: opening a pipe for reading would otherwise wait for a
    // writer that may never come, before the window has even appeared.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            return LoadStatus::Failed;
        *this = Profile{};
        return LoadStatus::Missing;
    }
    // Only a regular file of a settings file's size: a device like
    // /dev/zero never ends.
    struct stat info
    {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) > MaxProfileBytes) {
        ::close(fd);
        return LoadStatus::Failed;
    }
    std::string bytes;
    char buffer[8192];
    bool failed = false;
    while (bytes.size() <= MaxProfileBytes) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            failed = count < 0;
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(fd);
    // One that grew beyond the limit while being read is refused too.
    if (failed || bytes.size() > MaxProfileBytes)
        return LoadStatus::Failed;

    *this = fromBytes(bytes);
    return LoadStatus::Loaded;
}

std::optional<Profile::Position> Profile::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const ParsedLine header = parseLine(m_lines[i]);
        if (header.kind != ParsedLine::Kind::Section || !equalsIgnoringCase(header.name, section))
            continue;
        std::size_t end = i + 1;
        while (end < m_lines.size() && parseLine(m_lines[end]).kind != ParsedLine::Kind::Section)
            ++end;
        return Position{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> Profile::findKey(const Position &where, std::string_view key) const
{
    for (std::size_t i = where.sectionLine + 1; i < where.endLine; ++i) {
        const ParsedLine entry = parseLine(m_lines[i]);
        if (entry.kind == ParsedLine::Kind::Entry && equalsIgnoringCase(entry.name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> Profile::value(std::string_view section, std::string_view key) const
{
    const auto where = findSection(section);
    if (!where)
        return std::nullopt;
    const auto line = findKey(*where, key);
    if (!line)
        return std::nullopt;
    return decodeValue(parseLine(m_lines[*line]).value);
}

std::string Profile::string(std::string_view section, std::string_view key,
                            std::string_view defaultValue) const
{
    auto found = value(section, key);
    return found ? std::move(*found) : std::string(defaultValue);
}

int Profile::integer(std::string_view section, std::string_view key, int defaultValue) const
{
    // An empty value gives the default too, as in older installations.
    const auto found = value(section, key);
    if (!found || found->empty())
        return defaultValue;
    return profileInteger(*found);
}

bool Profile::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    // A line break in any part would split the entry and plant a line of
    // its own in the file (a path may hold one on this platform).
    if (!isStorableName(section) || !isStorableName(key) || holdsLineBreakOrNul(value))
        return false;
    if (key.find('=') != std::string_view::npos || key.front() == ';' || key.front() == '[')
        return false;

    const std::string line = std::string(key) + '=' + encodeValue(value);
    const auto where = findSection(section);
    if (!where) {
        if (!m_lines.empty() && !trim(m_lines.back()).empty())
            m_lines.emplace_back();
        m_lines.push_back('[' + std::string(section) + ']');
        m_lines.push_back(line);
        return true;
    }
    if (const auto existing = findKey(*where, key)) {
        const ParsedLine entry = parseLine(m_lines[*existing]);
        // An unchanged value leaves the line exactly as the user wrote it.
        if (decodeValue(entry.value) != value)
            m_lines[*existing] = std::string(entry.name) + '=' + encodeValue(value);
        return true;
    }
    // After the section's last non-blank line, so the blank lines that
    // separate it from the next section stay where they are.
    std::size_t at = where->endLine;
    while (at > where->sectionLine + 1 && trim(m_lines[at - 1]).empty())
        --at;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), line);
    return true;
}

bool Profile::setInteger(std::string_view section, std::string_view key, long long value)
{
    return setValue(section, key, std::to_string(value));
}

std::string Profile::toBytes() const
{
    std::string bytes;
    if (m_byteOrderMark)
        bytes += Utf8ByteOrderMark;
    for (const std::string &line : m_lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

bool Profile::save(const fs::path &path, std::string *error) const
{
    // The user's configuration folder may not exist yet on a first run.
    std::error_code ignored;
    if (path.has_parent_path())
        fs::create_directories(path.parent_path(), ignored);
    return WriteFileSafely(path, toBytes(), error);
}

} // namespace penarin
