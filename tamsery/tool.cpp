// tool.cpp: what the toolkit asks of Tamsery, and its module-level values.
#include "tamsery.h"

float angleH = 0.0f, angleP = 0.0f, angleB = 0.0f;
OriginPanel panelControls{};
ControlId itemList = nullptr;

namespace {

// Each drag button nudges the field beside it: the angles, then the origin.
const NudgePair nudgePairs[] = {
    {&panelControls.values.nudges[0], &panelControls.values.fields[0], &angleH, 0},
    {&panelControls.values.nudges[1], &panelControls.values.fields[1], &angleP, 0},
    {&panelControls.values.nudges[2], &panelControls.values.fields[2], &angleB, 0},
    {&panelControls.originFields.nudges[0], &panelControls.originFields.fields[0], nullptr, 0},
    {&panelControls.originFields.nudges[1], &panelControls.originFields.fields[1], nullptr, 1},
    {&panelControls.originFields.nudges[2], &panelControls.originFields.fields[2], nullptr, 2},
};

} // namespace

const ToolTraits toolTraits{"Kelzu_Tamsery", "Kelzu Tamsery", HandleTest::always, nudgePairs,
                            static_cast<int>(std::size(nudgePairs))};

ToolCommon *createInstance() noexcept { return createInstanceOf<ToolInstance>(); }

void destroyInstance(ToolCommon *instance) noexcept { delete static_cast<ToolInstance *>(instance); }

void applyFirstActivationDefaults() noexcept { angleH = angleP = angleB = 0.0f; }
