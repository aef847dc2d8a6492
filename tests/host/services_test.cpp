// getGlobal: which record each service name gives, missing services, and
// which host is current.
#include "host.h"

#include <gtest/gtest.h>

#include <string>

using namespace host;

namespace {

TEST(GetGlobal, GivesTheCurrentHostsRecordForEachName) {
    Host h;
    const struct {
        const char *name;
        const void *record;
    } services[] = {
        {TIME_SERVICE_NAME, &h.scene.timeRecord},   {INTERFACE_SERVICE_NAME, &h.scene.interfaceRecord},
        {ITEM_SERVICE_NAME, &h.itemRecord},         {CHANNEL_SERVICE_NAME, &h.channelRecord},
        {ENVELOPE_SERVICE_NAME, &h.envelopeRecord}, {VIEWPORT_SERVICE_NAME, &h.viewportRecord},
        {PANEL_SERVICE_NAME, &h.panelRecord},
    };
    for (const auto &s : services)
        EXPECT_EQ(Host::getGlobal(s.name, 0), s.record) << s.name;
    for (const char *unknown : {"LW Time Info 2", "lwpanelservices", "", "LW Item Info"})
        EXPECT_EQ(Host::getGlobal(unknown, 0), nullptr) << unknown;
    EXPECT_EQ(Host::getGlobal(nullptr, 0), nullptr);
    EXPECT_EQ(h.serviceRequests.size(), std::size(services) + 4);
    EXPECT_EQ(h.serviceRequests.front(), TIME_SERVICE_NAME);

    // Every function of every table is there, and panelGlobal is the module's to fill.
    EXPECT_TRUE(h.itemRecord.itemParam && h.itemRecord.itemChannelGroup);
    EXPECT_TRUE(h.channelRecord.nextChannel && h.channelRecord.channelName && h.channelRecord.channelEnvelope);
    EXPECT_TRUE(h.envelopeRecord.findKey && h.envelopeRecord.setKeyValue && h.envelopeRecord.createKey);
    EXPECT_TRUE(h.viewportRecord.projectPoint && h.viewportRecord.gridSize);
    const PanelService &p = h.panelRecord;
    EXPECT_TRUE(p.createPanel && p.openPanel && p.handlePanel && p.closePanel && p.destroyPanel &&
                p.setPanelAttribute && p.addControl && p.getControl && p.setControl);
    EXPECT_EQ(p.panelGlobal, nullptr);
}

TEST(GetGlobal, MissingServicesGiveNull) {
    Host h;
    h.faults.missingServices = {PANEL_SERVICE_NAME, VIEWPORT_SERVICE_NAME};
    EXPECT_EQ(Host::getGlobal(PANEL_SERVICE_NAME, 0), nullptr);
    EXPECT_EQ(Host::getGlobal(VIEWPORT_SERVICE_NAME, 0), nullptr);
    EXPECT_EQ(Host::getGlobal(ITEM_SERVICE_NAME, 0), &h.itemRecord);
    EXPECT_EQ(h.serviceRequests.size(), 3u); // asked, though not given
}

TEST(GetGlobal, FollowsTheCurrentHost) {
    EXPECT_EQ(Host::current(), nullptr);
    EXPECT_EQ(Host::getGlobal(TIME_SERVICE_NAME, 0), nullptr);
    {
        Host outer;
        EXPECT_EQ(Host::current(), &outer);
        {
            Host inner;
            EXPECT_EQ(Host::getGlobal(TIME_SERVICE_NAME, 0), &inner.scene.timeRecord);
        }
        EXPECT_EQ(Host::getGlobal(TIME_SERVICE_NAME, 0), &outer.scene.timeRecord);

        // Destroyed out of order: the survivor's predecessor is restored.
        auto a = std::make_unique<Host>();
        auto b = std::make_unique<Host>();
        a.reset();
        EXPECT_EQ(Host::current(), b.get());
        b.reset();
        EXPECT_EQ(Host::current(), &outer);
    }
    EXPECT_EQ(Host::current(), nullptr);
}

} // namespace
