#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace penarin {

// An INI file held in memory as its lines, read so that settings files
// carried over from older installations of this program mean the same, and
// written so that every line we do not own (comments, unknown keys, other
// sections) survives a write untouched.
//
// Lookups compare section and key names without regard to ASCII case. In a
// file with a section or key twice, the first one counts, which is what
// older installations read from such a file.
// Text is UTF-8 in memory; the file is written as UTF-8 with CR LF endings.
class Profile
{
public:
    enum class LoadStatus
    {
        Loaded,
        Missing, // no file: an empty profile, nothing lost by writing one
        Failed,  // the file exists but could not be read (or is no regular
                 // file, or is larger than MaxProfileBytes); do not overwrite it
    };

    // Far beyond any settings file this program writes (a few kilobytes).
    static constexpr std::uint64_t MaxProfileBytes = 1u << 20;

    Profile() = default;

    // Decodes a file's bytes: UTF-8 (with or without a byte order mark),
    // otherwise CP932, the encoding older installations wrote. LF and CR LF
    // line endings are both accepted.
    [[nodiscard]] static Profile fromBytes(std::string_view bytes);

    [[nodiscard]] LoadStatus load(const std::filesystem::path &path);

    // The value of `key` in `section`: blanks around it removed, then one
    // pair of matching quotes (' or ") removed, then cut at a NUL.
    [[nodiscard]] std::optional<std::string> value(std::string_view section,
                                                   std::string_view key) const;
    [[nodiscard]] std::string string(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const;
    // A missing key or an empty value gives `defaultValue`; anything else is
    // read by profileInteger.
    [[nodiscard]] int integer(std::string_view section, std::string_view key,
                              int defaultValue) const;

    // Replaces the value where the key stands, adds a missing key at the end
    // of its section, or a missing section at the end of the file. A value
    // that would not read back unchanged because of surrounding blanks or
    // quotes is written in double quotes. Returns false, changing nothing,
    // when the names or the value cannot be stored on one line.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);
    bool setInteger(std::string_view section, std::string_view key, long long value);

    // The file's bytes as they would be written.
    [[nodiscard]] std::string toBytes() const;

    // Replaces the file as a whole (WriteFileSafely), so a failed write never
    // leaves a truncated settings file behind. A missing folder is created.
    [[nodiscard]] bool save(const std::filesystem::path &path, std::string *error = nullptr) const;

    [[nodiscard]] const std::vector<std::string> &lines() const { return m_lines; }

private:
    struct Position
    {
        std::size_t sectionLine = 0; // index of the header line
        std::size_t endLine = 0;     // one past the section's last line
    };
    [[nodiscard]] std::optional<Position> findSection(std::string_view section) const;
    [[nodiscard]] std::optional<std::size_t> findKey(const Position &where,
                                                     std::string_view key) const;

    std::vector<std::string> m_lines;
    bool m_byteOrderMark = false;
};

// Reads an integer from a settings value: leading blanks, an optional sign,
// then decimal digits up to the first other character; no digits gives 0.
// Overlong numbers wrap modulo 2^32, so a hand-edited file reads the same as
// in older installations of this program.
[[nodiscard]] int profileInteger(std::string_view text);

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
[[nodiscard]] bool isValidUtf8(std::string_view bytes);

} // namespace penarin
