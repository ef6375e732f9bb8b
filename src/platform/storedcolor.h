#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace penarin {

// Colours as the program stores them: 0x00BBGGRR, or a system colour written
// as 0x80000000 plus the colour's index (0x0F button face, 0x05 window
// background, ...). System colours follow the running desktop's palette.
[[nodiscard]] QColor colorFromStored(std::int32_t value, const QPalette &palette);
[[nodiscard]] std::int32_t storedFromColor(const QColor &color);

inline constexpr std::int32_t StoredButtonFace = static_cast<std::int32_t>(0x8000000FU);
inline constexpr std::int32_t StoredWindowBackground = static_cast<std::int32_t>(0x80000005U);

} // namespace penarin
