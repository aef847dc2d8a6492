// demo_scenes.h: the scenarios `toolhost demo` plays: one scene and one short
// interaction per tool.
#pragma once

#include "scenario.h"

#include <string>
#include <vector>

namespace toolhost {

struct DemoScene {
    std::string title;       // short, for the picture
    std::string description; // what the interaction does and what to see
    Scenario scenario;
};

std::vector<DemoScene> demoScenes();

} // namespace toolhost
