// The loader and the tool driver, against the probe module and its broken
// variants (built next to these tests).
#include "host.h"
#include "probe_log.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace host;

namespace {

// The probe's record of calls. Holding our own reference keeps the module
// loaded, so the record outlives the Module that closes the file.
class ProbeRecord {
public:
    explicit ProbeRecord(const char *path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        if (!handle_)
            throw std::runtime_error(dlerror());
        log_ = static_cast<ProbeLog *>(dlsym(handle_, "probe_log"));
        if (!log_)
            throw std::runtime_error("no probe_log");
        std::memset(log_, 0, sizeof *log_);
    }
    ~ProbeRecord() { dlclose(handle_); }
    ProbeRecord(const ProbeRecord &) = delete;
    ProbeRecord &operator=(const ProbeRecord &) = delete;
    const ProbeLog *operator->() const { return log_; }

private:
    void *handle_;
    ProbeLog *log_ = nullptr;
};

TEST(Loader, ExplainsEachFailureNamingTheFile) {
    const std::string junk = ::testing::TempDir() + "host_loader_junk.p";
    std::ofstream(junk) << "not a shared library\n";

    struct Case {
        std::string path;
        std::vector<std::string> mentions;
    };
    const Case cases[] = {
        {"/nonexistent/dir/tool.p", {"no such file"}},
        {junk, {"not a loadable module", "("}},
        {PROBE_NO_DESCRIPTOR, {"no _mod_descrip"}},
        {PROBE_BAD_SYNC, {"sync word", "expected 0x04121994", "found 0x19940412"}},
        {PROBE_BAD_VERSION, {"version", "expected 3", "found 2"}},
        {PROBE_BAD_MACHINE, {"machine", "expected 0x00000300", "found 0x00000200"}},
        {PROBE_NO_TOOL, {"no \"LayoutTool\" server"}},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_EQ(Module::open(c.path, error), nullptr) << c.path;
        EXPECT_EQ(error.rfind(c.path + ": ", 0), 0u) << error;
        for (const std::string &m : c.mentions)
            EXPECT_NE(error.find(m), std::string::npos) << "\"" << error << "\" should mention \"" << m << "\"";
    }
}

TEST(Loader, ShutsDownAModuleThatStartedButOffersNoTool) {
    ProbeRecord noTool(PROBE_NO_TOOL);
    ProbeRecord badSync(PROBE_BAD_SYNC);
    std::string error;
    EXPECT_EQ(Module::open(PROBE_NO_TOOL, error), nullptr);
    EXPECT_EQ(noTool->startups, 1);
    EXPECT_EQ(noTool->shutdowns, 1);
    EXPECT_EQ(Module::open(PROBE_BAD_SYNC, error), nullptr);
    EXPECT_EQ(badSync->startups, 0); // never started: nothing to shut down
    EXPECT_EQ(badSync->shutdowns, 0);
}

TEST(Loader, OpensAModuleAndShutsItDownWhenClosed) {
    ProbeRecord probe(PROBE_MODULE);
    std::string error = "left from before";
    {
        auto module = Module::open(PROBE_MODULE, error);
        ASSERT_NE(module, nullptr) << error;
        EXPECT_EQ(error, "");
        EXPECT_EQ(module->path(), PROBE_MODULE);
        EXPECT_STREQ(module->server().className, LAYOUT_TOOL_CLASS);
        EXPECT_STREQ(module->server().name, "Probe");
        EXPECT_EQ(module->descriptor().version, MODULE_VERSION);
        EXPECT_EQ(module->serverData(), reinterpret_cast<void *>(4));
        EXPECT_EQ(probe->startups, 1);
        EXPECT_EQ(probe->shutdowns, 0);
    }
    EXPECT_EQ(probe->shutdowns, 1);
    EXPECT_EQ(probe->shutdownData, reinterpret_cast<void *>(4));
}

TEST(Loader, DescribesActivationResults) {
    EXPECT_EQ(activationResultText(0), "the tool is active");
    EXPECT_EQ(activationResultText(1), "the tool could not allocate its instance");
    EXPECT_EQ(activationResultText(2), "the tool could not build its panel");
    EXPECT_EQ(activationResultText(7), "unknown activation result 7");
}

// ---------------------------------------------------------------------------

class ToolDriving : public ::testing::Test {
protected:
    ProbeRecord probe{PROBE_MODULE};
    Host h;
    std::string error;
    std::unique_ptr<Module> module = Module::open(PROBE_MODULE, error);

    void SetUp() override { ASSERT_NE(module, nullptr) << error; }
};

TEST_F(ToolDriving, ActivationReceivesTheHostAndFillsTheTable) {
    Tool tool(h, *module);
    ASSERT_EQ(tool.result(), 0) << activationResultText(tool.result());
    EXPECT_TRUE(tool.active());
    EXPECT_EQ(probe->activationVersion, Tool::activationVersion);
    EXPECT_EQ(probe->activationGlobal, &Host::getGlobal);
    EXPECT_EQ(probe->activationServerData, module->serverData());
    EXPECT_EQ(tool.slot().callbacks, &tool.callbacks());
    EXPECT_NE(tool.slot().instance, nullptr);
    EXPECT_EQ(tool.callbacks().panel, &Tool::hostPanelSlot);
    ASSERT_NE(h.currentPanel(), nullptr);
    EXPECT_TRUE(h.currentPanel()->open);
}

TEST_F(ToolDriving, CallbacksReachTheInstanceWithTheirArguments) {
    Tool tool(h, *module);
    EXPECT_STREQ(tool.help(), "probe help");
    EXPECT_EQ(tool.count(), 0);
    EXPECT_EQ(tool.handle(4), 5);
    EXPECT_EQ(tool.adjust(3), 6);
    tool.event(1);
    tool.event(2);
    EXPECT_EQ(tool.dirty(), 3); // the probe sums event codes in its instance
    EXPECT_EQ(tool.start(h.eventAt(1, {0, 0, 0}, 5, -6, EVENT_FLAG_MODIFIER)), 1);
    EXPECT_STREQ(probe->trace, "S");
    EXPECT_EQ(probe->deltaX[0], 5);
    EXPECT_EQ(probe->deltaY[0], -6);
    EXPECT_EQ(probe->viewport[0], 1);
    EXPECT_EQ(probe->flags[0], EVENT_FLAG_MODIFIER);
}

TEST_F(ToolDriving, DoneRunsOnceAndSilencesTheCallbacks) {
    {
        Tool tool(h, *module);
        tool.done();
        tool.done();
        EXPECT_FALSE(tool.active());
        EXPECT_EQ(tool.help(), nullptr);
        EXPECT_EQ(tool.dirty(), 0);
        EXPECT_EQ(tool.down(h.eventAt(0, {0, 0, 0})), 0);
        tool.draw(0);
        EXPECT_STREQ(probe->trace, "");
        EXPECT_TRUE(h.drawn.empty());
    }
    EXPECT_EQ(probe->dones, 1);
    EXPECT_EQ(h.panels.back().destroyCalls, 1);

    { Tool forgotten(h, *module); } // the destructor ends an active tool
    EXPECT_EQ(probe->dones, 2);
}

TEST_F(ToolDriving, FailedActivationLeavesTheTableAlone) {
    h.faults.createPanelFails = true;
    {
        Tool tool(h, *module);
        EXPECT_EQ(tool.result(), 2);
        EXPECT_FALSE(tool.active());
        const ToolCallbacks &c = tool.callbacks();
        EXPECT_TRUE(!c.done && !c.draw && !c.help && !c.dirty && !c.count && !c.handle && !c.start &&
                    !c.adjust && !c.down && !c.move && !c.up && !c.event);
        EXPECT_EQ(c.panel, &Tool::hostPanelSlot);
        EXPECT_EQ(tool.start(h.eventAt(0, {0, 0, 0})), 0);
    }
    EXPECT_EQ(probe->dones, 0);
}

TEST_F(ToolDriving, DrawRecordsEachLineInTheColourOfItsMoment) {
    Tool tool(h, *module);
    const std::array<float, 4> black{0, 0, 0, 1}, red{1, 0, 0, 1}, green{0, 1, 0, 0.5f};
    for (int view : {2, 0}) {
        h.drawn.clear();
        tool.draw(view);
        ASSERT_EQ(h.drawn.size(), 4u);
        EXPECT_EQ(h.drawn[0].color, black) << "each draw starts from black";
        EXPECT_EQ(h.drawn[1].color, red);
        EXPECT_EQ(h.drawn[2].color, green);
        EXPECT_EQ(h.drawn[3].color, green);
        EXPECT_EQ(h.drawn[1].from, Vec3({static_cast<double>(view), 0, 0}));
        EXPECT_EQ(h.drawn[1].to, Vec3({1, 2, 3}));
        EXPECT_EQ(h.drawn[1].coordinates, DRAW_WINDOW_COORDINATES);
        EXPECT_EQ(h.drawn[3].coordinates, 2);
        EXPECT_EQ(h.drawn[3].view, view);
    }
}

TEST_F(ToolDriving, DragIsDownMovesAndUpWithOffsetsFromThePress) {
    Tool tool(h, *module);
    tool.drag(1, {{100, 100}, {110.4, 95}, {130, 80.6}}, EVENT_FLAG_MODIFIER);
    EXPECT_STREQ(probe->trace, "DMMU");
    EXPECT_EQ(std::vector<int>(probe->deltaX, probe->deltaX + 4), (std::vector<int>{0, 10, 30, 30}));
    EXPECT_EQ(std::vector<int>(probe->deltaY, probe->deltaY + 4), (std::vector<int>{0, -5, -19, -19}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(probe->viewport[i], 1);
        EXPECT_EQ(probe->flags[i], EVENT_FLAG_MODIFIER);
    }
    tool.drag(0, {{5, 5}});
    EXPECT_STREQ(probe->trace, "DMMUDU");
}

TEST_F(ToolDriving, RefusesAHostThatIsNotCurrent) {
    Host other;
    EXPECT_THROW(Tool(h, *module), std::logic_error);
    EXPECT_EQ(probe->activations, 0);
}

} // namespace
