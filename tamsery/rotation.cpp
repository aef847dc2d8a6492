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

// r = v as a row, times the matrix.
void rowTimesMatrix(const Vec3 &v, const Matrix &m, Vec3 &r) noexcept {
    for (int j = 0; j < 3; ++j) r[j] = v[0] * m[j] + v[1] * m[j + 3] + v[2] * m[j + 6];
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
    const Vec3 &pivot = tool.customOrigin;
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(tool.itemCount, 0)), tool.items.size());
    const KeyWriter setKey;

    for (std::size_t i = 0; i < count; ++i) {
        ItemRecord &record = tool.items[i];
        Vec3 v, r;
        for (int k = 0; k < 3; ++k) v[k] = record.startPosition[k] - pivot[k];
        r = v;
        if (rotates) rowTimesMatrix(v, m, r);
        for (int k = 0; k < 3; ++k) record.newValues[k] = r[k] + pivot[k];
        // The coordinate along the axis does not move and is not keyed.
        for (int k = 0; k < 3; ++k)
            if (axis != k + 1) setKey(record.channels[positionX + k], record.newValues[k]);

        if (tool.method != 1) continue; // "Keep": the item's own rotation stays
        for (int k = 0; k < 3; ++k) record.newValues[k] = record.startRotation[k] + a;
        // Heading turns about Y, pitch about X, bank about Z.
        if (axis == 2)
            setKey(record.channels[rotationH], record.newValues[0]);
        else if (axis == 1)
            setKey(record.channels[rotationP], record.newValues[1]);
        else if (axis == 3)
            setKey(record.channels[rotationB], record.newValues[2]);
    }
}
