// The channels a module may key: the three tools by server name, any other
// module, and a list the user gives.
#include "channel_policy.h"

#include <gtest/gtest.h>

#include <stdexcept>

using validate::ChannelPolicy;

namespace {

struct Case {
    const char *policy; // a server name, or "list:" and a list
    const char *channel;
    bool allowed;
};

ChannelPolicy policyOf(const std::string &what) {
    return what.rfind("list:", 0) == 0 ? validate::policyFromList(what.substr(5)) : validate::policyForServer(what);
}

} // namespace

TEST(ChannelPolicy, AllowsWhatTheToolOwnsAndNothingElse) {
    const Case cases[] = {
        {"Kelzu_Pellwyn", "Position.X", true},     {"Kelzu_Pellwyn", "Rotation.H", false},
        {"Kelzu_Pellwyn", "Scale.X", false},       {"Kelzu_Tamsery", "Rotation.B", true},
        {"Kelzu_Tamsery", "Position.Z", true},     {"Kelzu_Tamsery", "Scale.Y", false},
        {"Kelzu_Vestral++", "Position.X", false},  {"Kelzu_Vestral++", "Rotation.P", true},
        {"Another_Tool", "Position.X", true},      {"Another_Tool", "Color.R", true},
        {"Another_Tool", "Scale.Z", false},        {"list:Position.*,Rotation.H", "Position.Y", true},
        {"list:Position.*,Rotation.H", "Positions.X", false},
        {"list:Position.*,Rotation.H", "Rotation.H", true},
        {"list:Position.*,Rotation.H", "Rotation.P", false},
        {"list:Scale.*", "Scale.X", true}, // the user's list is the whole truth
    };
    for (const Case &c : cases)
        EXPECT_EQ(policyOf(c.policy).allows(c.channel), c.allowed) << c.policy << " / " << c.channel;
}

TEST(ChannelPolicy, DescribesItselfForTheFindings) {
    EXPECT_EQ(validate::policyForServer("Kelzu_Vestral++").describe(), "Rotation.H, Rotation.P, Rotation.B");
    EXPECT_EQ(validate::policyForServer("Another_Tool").describe(), "any channel but Scale.*");
}

TEST(ChannelPolicy, RefusesEmptyNames) {
    for (const char *list : {"", ",", "Position.X,", ",Position.X", "Position.X,,Rotation.H"})
        EXPECT_THROW(validate::policyFromList(list), std::invalid_argument) << '"' << list << '"';
}
