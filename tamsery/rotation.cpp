// rotation.cpp: turning the captured items about the custom origin.
#include "tamsery.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double degreesToRadians = 0.017453292519943295;

using Matrix = std::array<double, 9>; // row-major: entries 0 to 2 are the first row

void rotateMatrix(Matrix &m, double m0, double m1, double m2, double m3, double m4, double m5, double m6,
                  double m7, double m8) noexcept {
    m = {m0, m1, m2, m3, m4, m5, m6, m7, m8};
}

// The rotation by `a` radians about world axis 1 (X), 2 (Y) or 3 (Z). A
// positive angle turns Y toward Z about X, Z toward X about Y and X toward Y
// about Z. False for any other axis code.
bool axisRotation(int axis, double a, Matrix &m) noexcept {
    const double c = std::cos(a);
    const double s = std::sin(a);
    switch (axis) {
    case 1: rotateMatrix(m, 1, 0, 0, 0, c, s, 0, -s, c); return true;
    case 2: rotateMatrix(m, c, 0, -s, 0, 1, 0, s, 0, c); return true;
    case 3: rotateMatrix(m, c, s, 0, -s, c, 0, 0, 0, 1); return true;
    default: return false;
    }
}

} // namespace

void applyToItems(ToolInstance &tool) noexcept {
    const double a = tool.angle * degreesToRadians;
    const int axis = std::abs(tool.axis);
    Matrix m{};
    const bool rotates = axisRotation(axis, a, m);
    const Vec3 pivot = tool.customOrigin;
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(tool.itemCount, 0)), tool.items.size());
    const KeyWriter setKey;

    if (!rotates) {
        // No axis: nothing turns, and every coordinate is keyed where it was.
        for (std::size_t i = 0; i < count; ++i) {
            const ItemRecord &record = tool.items[i];
            for (int k = 0; k < 3; ++k)
                setKey(record.channels[positionX + k], (record.startPosition[k] - pivot[k]) + pivot[k]);
        }
        return;
    }

    // The two coordinates across the axis move: each is the item's offset
    // from the pivot, as a row, times that coordinate's column of the
    // matrix, plus the pivot. The coordinate along the axis stays and is not
    // keyed.
    const int k0 = axis == 1 ? 1 : 0;
    const int k1 = axis == 3 ? 1 : 2;
    // Under "Rotate" the item's own rotation turns too: heading about Y,
    // pitch about X, bank about Z. Under "Keep" it stays.
    const int turned = tool.method != 1 ? -1 : axis == 2 ? 0 : axis == 1 ? 1 : 2; // heading, pitch, bank

    for (std::size_t i = 0; i < count; ++i) {
        const ItemRecord &record = tool.items[i];
        const double x = record.startPosition[0] - pivot[0];
        const double y = record.startPosition[1] - pivot[1];
        const double z = record.startPosition[2] - pivot[2];
        setKey(record.channels[positionX + k0], x * m[k0] + y * m[k0 + 3] + z * m[k0 + 6] + pivot[k0]);
        setKey(record.channels[positionX + k1], x * m[k1] + y * m[k1 + 3] + z * m[k1 + 6] + pivot[k1]);
        if (turned >= 0) setKey(record.channels[rotationH + turned], record.startRotation[turned] + a);
    }
}
