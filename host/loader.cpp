// loader.cpp: opening a module file through its descriptor, and driving one
// activation of its tool through the callback table.
#include "host.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace host {

namespace {

std::string hex(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(v));
    return text;
}

bool isEndOfList(const ServerRecord &s) { return !s.className && !s.name && !s.activate && !s.tags; }

} // namespace

// ---------------------------------------------------------------------------
// Module
// ---------------------------------------------------------------------------

std::unique_ptr<Module> Module::open(const std::string &path, std::string &error) {
    error.clear();
    auto fail = [&](const std::string &what) {
        error = path + ": " + what;
        return nullptr;
    };

    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return fail("no such file");

    dlerror();
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *why = dlerror();
        return fail(std::string("not a loadable module (") + (why ? why : "unknown reason") + ")");
    }
    // From here on a failure closes the file again; after startup it also
    // shuts the module down.
    auto closeAndFail = [&](const std::string &what) {
        dlclose(handle);
        return fail(what);
    };

    const auto *descriptor = static_cast<const ModuleDescriptor *>(dlsym(handle, "_mod_descrip"));
    if (!descriptor)
        return closeAndFail("no _mod_descrip symbol: not a tool module");
    if (descriptor->sync != MODULE_SYNC)
        return closeAndFail("wrong sync word in _mod_descrip: expected " + hex(MODULE_SYNC) + ", found " +
                            hex(descriptor->sync));
    if (descriptor->version != MODULE_VERSION)
        return closeAndFail("unsupported module version: expected " + std::to_string(MODULE_VERSION) + ", found " +
                            std::to_string(descriptor->version));
    if (descriptor->machine != MODULE_MACHINE)
        return closeAndFail("wrong machine code: expected " + hex(MODULE_MACHINE) + ", found " +
                            hex(descriptor->machine));
    if (!descriptor->startup)
        return closeAndFail("_mod_descrip has no startup function");

    void *serverData = descriptor->startup();
    if (!serverData)
        return closeAndFail("startup failed (it returned null)");

    const ServerRecord *server = nullptr;
    if (descriptor->servers)
        for (const ServerRecord *s = descriptor->servers; !isEndOfList(*s); ++s)
            if (s->className && std::strcmp(s->className, LAYOUT_TOOL_CLASS) == 0) {
                server = s;
                break;
            }
    if (!server || !server->activate) {
        if (descriptor->shutdown)
            descriptor->shutdown(serverData);
        return closeAndFail(server ? "the \"" LAYOUT_TOOL_CLASS "\" server has no activation function"
                                   : "no \"" LAYOUT_TOOL_CLASS "\" server in the server list");
    }

    std::unique_ptr<Module> module(new Module());
    module->handle_ = handle;
    module->descriptor_ = descriptor;
    module->server_ = server;
    module->serverData_ = serverData;
    module->path_ = path;
    return module;
}

Module::~Module() {
    if (descriptor_ && descriptor_->shutdown)
        descriptor_->shutdown(serverData_);
    if (handle_)
        dlclose(handle_);
}

std::string activationResultText(int result) {
    switch (result) {
    case 0: return "the tool is active";
    case 1: return "the tool could not allocate its instance";
    case 2: return "the tool could not build its panel";
    default: return "unknown activation result " + std::to_string(result);
    }
}

// ---------------------------------------------------------------------------
// Drawing: the DrawAccess functions record into the host
// ---------------------------------------------------------------------------

struct detail::DrawRecorder {
    static void begin(Host &h, int view) {
        h.drawColor_ = {0.0f, 0.0f, 0.0f, 1.0f};
        h.drawView_ = view;
    }
    static void setColor(void *drawData, const float rgba[4]) {
        if (!drawData || !rgba)
            return;
        auto &h = *static_cast<Host *>(drawData);
        for (int i = 0; i < 4; ++i)
            h.drawColor_[static_cast<std::size_t>(i)] = rgba[i];
    }
    static void drawLine(void *drawData, const double from[3], const double to[3], int coordinates) {
        if (!drawData || !from || !to)
            return;
        auto &h = *static_cast<Host *>(drawData);
        h.drawn.push_back({h.drawColor_, {from[0], from[1], from[2]}, {to[0], to[1], to[2]}, coordinates, h.drawView_});
    }
};

// ---------------------------------------------------------------------------
// Tool
// ---------------------------------------------------------------------------

Tool::Tool(Host &host, const Module &module) : host_(host) {
    if (Host::current() != &host)
        throw std::logic_error("a tool must be activated with the current host");
    callbacks_.panel = hostPanelSlot;
    slot_.callbacks = &callbacks_;
    result_ = module.server().activate(activationVersion, &Host::getGlobal, &slot_, module.serverData());
}

Tool::~Tool() {
    if (result_ == 0 && !done_)
        done();
}

void *Tool::hostPanelSlot(void *) { return nullptr; }

int Tool::start(ToolEvent event) {
    return callbacks_.start && !done_ ? callbacks_.start(slot_.instance, &event) : 0;
}

int Tool::down(ToolEvent event) {
    return callbacks_.down && !done_ ? callbacks_.down(slot_.instance, &event) : 0;
}

void Tool::move(ToolEvent event) {
    if (callbacks_.move && !done_)
        callbacks_.move(slot_.instance, &event);
}

void Tool::up(ToolEvent event) {
    if (callbacks_.up && !done_)
        callbacks_.up(slot_.instance, &event);
}

void Tool::draw(int viewport) {
    if (!callbacks_.draw || done_)
        return;
    detail::DrawRecorder::begin(host_, viewport);
    DrawAccess access{};
    access.view = viewport;
    access.drawData = &host_;
    access.setColor = detail::DrawRecorder::setColor;
    access.drawLine = detail::DrawRecorder::drawLine;
    callbacks_.draw(slot_.instance, &access);
}

const char *Tool::help() {
    ToolEvent event{};
    return callbacks_.help && !done_ ? callbacks_.help(slot_.instance, &event) : nullptr;
}

int Tool::dirty() { return callbacks_.dirty && !done_ ? callbacks_.dirty(slot_.instance) : 0; }

int Tool::count() {
    ToolEvent event{};
    return callbacks_.count && !done_ ? callbacks_.count(slot_.instance, &event) : 0;
}

int Tool::handle(int index) {
    ToolEvent event{};
    double position[3] = {0.0, 0.0, 0.0};
    return callbacks_.handle && !done_ ? callbacks_.handle(slot_.instance, &event, index, position) : 0;
}

int Tool::adjust(int index) {
    ToolEvent event{};
    return callbacks_.adjust && !done_ ? callbacks_.adjust(slot_.instance, &event, index) : 0;
}

void Tool::event(int code) {
    if (callbacks_.event && !done_)
        callbacks_.event(slot_.instance, code);
}

void Tool::done() {
    if (done_)
        return;
    done_ = true;
    if (callbacks_.done)
        callbacks_.done(slot_.instance);
}

void Tool::drag(int viewport, const std::vector<std::array<double, 2>> &pixels, int flags) {
    if (pixels.empty())
        return;
    const auto &first = pixels.front();
    auto at = [&](const std::array<double, 2> &p) {
        const int dx = static_cast<int>(std::lround(p[0] - first[0]));
        const int dy = static_cast<int>(std::lround(p[1] - first[1]));
        return host_.eventAtPixel(viewport, p[0], p[1], dx, dy, flags);
    };
    down(at(first));
    for (std::size_t i = 1; i < pixels.size(); ++i)
        move(at(pixels[i]));
    up(at(pixels.back()));
}

} // namespace host
