// demo_scenes.cpp: the built-in scene (three items) and, per tool, the steps
// a user would take to see it work.
#include "demo_scenes.h"

namespace toolhost {

namespace {

Step step(Action action) {
    Step s;
    s.action = action;
    return s;
}

Step choose(const std::string &control, const std::string &entry) {
    Step s = step(Action::choose);
    s.control = control;
    s.entryText = entry;
    return s;
}

Step type(const std::string &control, double value) {
    Step s = step(Action::type);
    s.control = control;
    s.value = value;
    return s;
}

Step press(const std::string &control) {
    Step s = step(Action::press);
    s.control = control;
    return s;
}

// A drag in a viewport from a window pixel, by (dx, dy) pixels.
Step drag(int viewport, double x, double y, double dx, double dy) {
    Step s = step(Action::drag);
    s.viewport = viewport;
    s.at = {Cursor::Kind::pixel, {x, y, 0}};
    s.by = {Cursor::Kind::offset, {dx, dy, 0}};
    return s;
}

Scenario scene(const std::string &module, std::vector<Step> steps) {
    Scenario s;
    s.file = "demo: " + module;
    s.folder = ".";
    s.module = module;
    s.items = {{"ball", {2, 0, 0}, {}, {}, {}}, {"crate", {0, 1.5, -1}, {}, {}, {}}, {"lamp", {-1, -1, 1}, {}, {}, {}}};
    for (const ItemSpec &item : s.items)
        s.selection.push_back(item.name);
    s.viewports = {{host::View::front}, {host::View::top}, {host::View::side}};
    int n = 0;
    for (Step &each : steps)
        each.number = ++n;
    s.steps = std::move(steps);
    return s;
}

} // namespace

std::vector<DemoScene> demoScenes() {
    enum { front = 0, top = 1 };
    return {
        {"Pellwyn: Scale by 1.5 about (0, 0, 0)",
         "Pellwyn, Method \"Scale\", Origin \"Custom\" at (0, 0, 0), dragged 50 pixels right in the front "
         "view: every item's distance from the origin grows by 1.5, all three position channels keyed.",
         scene("pellwyn", {step(Action::activate), choose("Origin", "Custom"), drag(front, 500, 400, 50, 0)})},
        {"Tamsery: Apply H = 90 under Rotate",
         "Tamsery, Method \"Rotate\", H = 90 typed and applied: the items turn a quarter about Y through "
         "(0, 0, 0): X and Z keyed, Y left alone, each heading keyed 90 degrees (1.570796) higher.",
         scene("tamsery", {step(Action::activate), choose("Method", "Rotate"), type("H", 90), press("Apply")})},
        {"Vestral++: drag 300 pixels in the top view",
         "Vestral++, dragged 300 pixels right in the top view (0.1 degree a pixel): every heading keyed "
         "30 degrees (0.523599) higher; positions untouched.",
         scene("vestral", {step(Action::activate), drag(top, 400, 300, 300, 0)})},
    };
}

} // namespace toolhost
