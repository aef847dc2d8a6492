// drag.cpp: dragging turns the selection about one of its own rotation channels.
#include "vestral.h"

#include <cfloat>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

// Room for the "%f" text of any double: a sign, the 309 integer digits of
// the largest one, the point, six decimals and the terminator. The host may
// keep the pointer, so the texts live with the module.
constexpr int angleTextSize = 1 + (DBL_MAX_10_EXP + 1) + 1 + 6 + 1;
char angleText[3][angleTextSize];

// The degrees each text was last formatted from. A drag turns one channel,
// so two of the three texts are already right at every move: they are
// handed to the host again without being formatted anew.
bool formatted[3] = {false, false, false};
std::uint64_t formattedBits[3]; // compared bit for bit: -0.0 prints unlike 0.0

// The three info fields show the last drag angle about each channel, in degrees.
void showAngles(const ToolInstance &tool) noexcept {
    ControlId *const fields[3] = {&angleInfoH, &angleInfoP, &angleInfoB};
    for (int k = 0; k < 3; ++k) {
        const double degrees = tool.shownAngles[k] * radiansToDegrees;
        std::uint64_t bits;
        std::memcpy(&bits, &degrees, sizeof bits);
        if (!formatted[k] || bits != formattedBits[k]) {
            // The "%f" text (six decimals, a point whatever the locale),
            // without printf's cost on every move.
            char *const text = angleText[k];
            const auto [end, error] = std::to_chars(text, text + angleTextSize - 1, degrees, std::chars_format::fixed, 6);
            *(error == std::errc{} ? end : text) = '\0';
            formatted[k] = true;
            formattedBits[k] = bits;
        }
        setText(*fields[k], angleText[k], angleTextSize);
    }
}

} // namespace

// The angle follows the horizontal movement since the press: 0.1 degree a
// pixel, 1 degree with the modifier bit. It is computed afresh from each
// event and added to the rotations captured at the press, so moves never
// accumulate.
void move(ToolCommon &common, const ToolEvent &event) noexcept {
    ToolInstance &tool = vestral(common);
    const double degreesPerPixel = (event.eventFlags & EVENT_FLAG_MODIFIER) ? 1.0 : 0.1;
    tool.dragAngle = static_cast<double>(event.deltaX) * degreesPerPixel * degreesToRadians;
    if (const int slot = rotationSlotOf(tool.axis); slot >= 0) tool.shownAngles[slot] = tool.dragAngle;
    if (panelOpen(tool)) showAngles(tool);
    applyToItems(tool);
    tool.dirty = 1;
}

// The keys of the last move are the result; nothing is left to do.
void up(ToolCommon &, const ToolEvent &) noexcept {}
