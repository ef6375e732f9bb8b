#include "season/textcodec.h"

#include <algorithm>
#include <cerrno>

#include <iconv.h>

namespace penarin {

namespace {

constexpr char32_t Replacement = 0xFFFD;

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void appendUtf16(std::u16string &out, char32_t c)
{
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

// How many input bytes one unconvertible character takes.
using SkipLength = std::size_t (*)(std::string_view rest);

std::size_t oneByte(std::string_view)
{
    return 1;
}

std::size_t utf8SequenceLength(std::string_view rest)
{
    const auto lead = static_cast<unsigned char>(rest.front());
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, rest.size());
}

// The one place that talks to iconv. Whatever cannot be converted (not
// valid in `from`, or not representable in `to`) is replaced by
// `substitute` and the conversion goes on with the next character, rather
// than losing the rest of the text.
std::string convert(std::string_view bytes, const char *to, const char *from,
                    std::string_view substitute, SkipLength skip)
{
    std::string out;
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // Without the converter keep what is certain: the ASCII part, which
        // all the encodings used here share.
        while (!bytes.empty()) {
            if (static_cast<unsigned char>(bytes.front()) < 0x80) {
                out += bytes.front();
                bytes.remove_prefix(1);
            } else {
                out += substitute;
                bytes.remove_prefix(skip(bytes));
            }
        }
        return out;
    }

    out.resize(bytes.size() * 3 + 4);
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t produced = 0;
    while (inLeft > 0) {
        char *outPtr = out.data() + produced;
        std::size_t outLeft = out.size() - produced;
        const std::size_t result = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        produced = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        if (out.size() - produced < substitute.size())
            out.resize(out.size() * 2 + substitute.size());
        out.replace(produced, substitute.size(), substitute);
        produced += substitute.size();
        const std::size_t skipped = skip(std::string_view(in, inLeft));
        in += skipped;
        inLeft -= skipped;
    }
    ::iconv_close(cd);
    out.resize(produced);
    return out;
}

} // namespace

std::string cp932ToUtf8(std::string_view bytes)
{
    return convert(bytes, "UTF-8", "CP932", "\xEF\xBF\xBD", oneByte);
}

std::string toCp932(std::u16string_view text)
{
    // Through UTF-8, which toUtf8 always makes well-formed (a stray
    // surrogate becomes U+FFFD and then "?").
    return convert(toUtf8(text), "CP932", "UTF-8", "?", utf8SequenceLength);
}

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(out, Replacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::u16string fromUtf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            length = 1;
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            c = lead & 0x07;
        }
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        static const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) {
            valid = false;
        }
        if (!valid) {
            appendUtf16(out, Replacement);
            ++i;
            continue;
        }
        appendUtf16(out, c);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::u16string visibleText(std::u16string_view text)
{
    std::u16string shown;
    shown.reserve(text.size());
    for (const char16_t c : text) {
        if (c < 0x20 || c == 0x7F) {
            shown += u'^';
            shown += c == 0x7F ? u'?' : static_cast<char16_t>(c + 0x40);
        } else if (c >= 0x80 && c <= 0x9F) {
            static constexpr char16_t Digits[] = u"0123456789ABCDEF";
            shown += u"<U+00";
            shown += Digits[c >> 4];
            shown += Digits[c & 0xF];
            shown += u'>';
        } else {
            shown += c;
        }
    }
    return shown;
}

} // namespace penarin
