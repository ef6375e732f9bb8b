#include "platform/storedcolor.h"

namespace penarin {

namespace {

// The system colour indexes the program uses, mapped to the palette roles
// that play the same part on this desktop.
QColor systemColor(int index, const QPalette &palette)
{
    switch (index) {
    case 0x05: // window background
        return palette.color(QPalette::Base);
    case 0x08: // window text
        return palette.color(QPalette::Text);
    case 0x0D: // highlight
        return palette.color(QPalette::Highlight);
    case 0x0E: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 0x12: // button text
        return palette.color(QPalette::ButtonText);
    case 0x0F: // button face
    default:
        return palette.color(QPalette::Button);
    }
}

} // namespace

QColor colorFromStored(std::int32_t value, const QPalette &palette)
{
    const auto bits = static_cast<std::uint32_t>(value);
    if ((bits & 0x80000000U) != 0) {
        return systemColor(static_cast<int>(bits & 0xFFU), palette);
    }
    return QColor(static_cast<int>(bits & 0xFFU), static_cast<int>((bits >> 8) & 0xFFU),
                  static_cast<int>((bits >> 16) & 0xFFU));
}

std::int32_t storedFromColor(const QColor &color)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(color.red()) |
                                     static_cast<std::uint32_t>(color.green()) << 8 |
                                     static_cast<std::uint32_t>(color.blue()) << 16);
}

} // namespace penarin
