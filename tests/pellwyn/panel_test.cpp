// Pellwyn's panel: its controls and layout, the handlers and Apply.
#include "pellwyn_fixture.h"

#include <cmath>

TEST_F(PellwynTest, PanelHoldsItsSeventeenControlsInOrder) {
    struct Expected {
        const char *type;
        int kind;
        const char *label;
    };
    const Expected expected[] = {
        {"ChoiceControl", 9, "Origin"},       {"ChoiceControl", 9, "Method"},
        {"TextControl", 12, "Scale"},         {"TextControl", 12, "Origin"},
        {"FloatControl", 3, " X"},            {"FloatControl", 3, " Y"},
        {"FloatControl", 3, " Z"},            {"DragButtonControl", 19, ""},
        {"DragButtonControl", 19, ""},        {"DragButtonControl", 19, ""},
        {"FloatControl", 3, " X"},            {"FloatControl", 3, " Y"},
        {"FloatControl", 3, " Z"},            {"DragButtonControl", 19, ""},
        {"DragButtonControl", 19, ""},        {"DragButtonControl", 19, ""},
        {"ButtonControl", 2, "Apply"},
    };
    host::Panel &p = panel();
    EXPECT_EQ(p.title, "Kelzu Pellwyn");
    ASSERT_EQ(p.controls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(p.controls[i].typeName, expected[i].type) << i;
        EXPECT_EQ(p.controls[i].desc.kind, expected[i].kind) << i;
        EXPECT_EQ(p.controls[i].label, expected[i].label) << i;
    }
    EXPECT_EQ(originChoice().entries, (std::vector<std::string>{"Custom", "Center of Objs"}));
    EXPECT_EQ(methodChoice().entries, (std::vector<std::string>{"Stretch", "Stretch Flat", "Scale"}));
    EXPECT_EQ(p.controls[7].desc.word1, -1);
    EXPECT_EQ(p.controls[7].desc.word2, 0);
    // Headings have no handler; every other control has one and the instance.
    for (std::size_t i = 0; i < p.controls.size(); ++i) {
        const bool heading = i == 2 || i == 3;
        EXPECT_EQ(p.controls[i].eventHandler == 0, heading) << i;
        EXPECT_EQ(p.controls[i].userData == 0, heading) << i;
    }
}

TEST_F(PellwynTest, PanelLaysOutTwoColumnsWithApplyUnderTheOrigin) {
    host::Panel &p = panel();
    const auto &c = p.controls;
    const int x0 = c[0].x;
    const int y1 = c[2].y + c[2].height + 10;
    const int y2 = y1 + c[4].height - 2;
    const int y3 = y2 + c[5].height - 2;
    const int rows[3] = {y1, y2, y3};
    const int x1 = x0 + 2 * c[7].width + 70;
    EXPECT_EQ(c[3].x, x1);
    EXPECT_EQ(c[3].y, c[2].y);
    for (int k = 0; k < 3; ++k) {
        const host::Control &scale = c[4 + k], &scaleNudge = c[7 + k], &origin = c[10 + k],
                            &originNudge = c[13 + k];
        EXPECT_EQ(std::make_pair(scale.x, scale.y), std::make_pair(x0, rows[k])) << k;
        EXPECT_EQ(std::make_pair(scaleNudge.x, scaleNudge.y), std::make_pair(x0 + scale.width, rows[k])) << k;
        EXPECT_EQ(std::make_pair(origin.x, origin.y), std::make_pair(x1, rows[k])) << k;
        EXPECT_EQ(std::make_pair(originNudge.x, originNudge.y), std::make_pair(x1 + origin.width, rows[k])) << k;
    }
    EXPECT_EQ(c[16].x, x1);
    EXPECT_EQ(c[16].y, y3 + c[12].height);
    EXPECT_EQ(p.width, 277);
    EXPECT_EQ(p.height, 2 * c[16].height);
    EXPECT_TRUE(p.open);
}

TEST_F(PellwynTest, PanelStartsWithScaleCentreAndUnitFactors) {
    EXPECT_EQ(originChoice().integer, 1);
    EXPECT_EQ(methodChoice().integer, 2);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(scaleField(k).number, 1.0);
        EXPECT_EQ(originField(k).number, 0.0);
    }
}

TEST_F(PellwynTest, ApplyKeysOnlyTheAxesWhoseFactorIsNotOne) {
    host.choose(originChoice(), 0);
    host::Item &a = add("a", {1, 2, 3});
    host::Item &b = add("b", {-1, 0, 4});
    select({&a, &b});

    host.press(apply());
    EXPECT_EQ(host.counters.keysCreated + host.counters.valuesWritten, 0u);

    host.typeNumber(originField(0), 0.5);
    host.typeNumber(scaleField(0), 2.0);
    host.press(apply());
    EXPECT_DOUBLE_EQ(*key(a, "Position.X"), 1.5);
    EXPECT_DOUBLE_EQ(*key(b, "Position.X"), -2.5);
    for (host::Item *item : {&a, &b}) {
        EXPECT_FALSE(key(*item, "Position.Y"));
        EXPECT_FALSE(key(*item, "Position.Z"));
    }
    host.press(apply()); // from the keys the last Apply left: twice the distance again
    EXPECT_DOUBLE_EQ(*key(a, "Position.X"), 2.5);
    EXPECT_EQ(a.channel("Position.X")->envelope.keys().size(), 1u);
}

TEST_F(PellwynTest, ApplyUsesTheTypedFactorAtSinglePrecisionAndResetsTheMethod) {
    host.choose(originChoice(), 0);
    host.choose(methodChoice(), 1);
    host::Item &a = add("a", {0, 0, 10});
    select({&a});
    host.typeNumber(scaleField(2), 1.1);
    host.press(apply());
    EXPECT_EQ(*key(a, "Position.Z"), 10.0 * static_cast<double>(1.1f));
    EXPECT_EQ(methodChoice().integer, 0); // "Stretch"
}

TEST_F(PellwynTest, ApplyAboutTheCentreShowsTheCentre) {
    host::Item &a = add("a", {0, 0, 0});
    host::Item &b = add("b", {4, 0, 0});
    select({&a, &b});
    host.typeNumber(originField(0), 50.0); // replaced by the centre at the snapshot
    host.typeNumber(scaleField(0), 0.5);
    host.press(apply());
    EXPECT_DOUBLE_EQ(*key(a, "Position.X"), 1.0);
    EXPECT_DOUBLE_EQ(*key(b, "Position.X"), 3.0);
    EXPECT_EQ(originField(0).number, 2.0);
}

TEST_F(PellwynTest, ApplyWithoutSelectionStillTakesTheTypedValues) {
    host.typeNumber(scaleField(1), 3.0);
    host.choose(methodChoice(), 2);
    host.press(apply());
    EXPECT_EQ(methodChoice().integer, 0);
    activate(); // the factor lives on in the module
    EXPECT_EQ(scaleField(1).number, 3.0);
}

TEST_F(PellwynTest, ReopeningShowsTheTakenFactorsAndAZeroOrigin) {
    host.choose(originChoice(), 0);
    host.typeNumber(scaleField(0), 2.5);
    host.typeNumber(originField(1), 7.0);
    host::Item &a = add("a", {1, 0, 0});
    select({&a});
    dragBy(front, 300, 0); // a drag writes the fields but not the factors
    EXPECT_EQ(scaleField(1).number, 4.0);
    tool->done();
    activate();
    EXPECT_EQ(scaleField(0).number, 2.5);
    EXPECT_EQ(scaleField(1).number, 1.0);
    EXPECT_EQ(scaleField(2).number, 1.0);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(originField(k).number, 0.0);
}

TEST_F(PellwynTest, ChoosingAnOriginModeWaitsForTheNextSnapshot) {
    host::Item &a = add("a", {2, 2, 2});
    select({&a});
    tool->start(host.eventAtPixel(front, 500, 400)); // centre (2, 2, 2)
    host.choose(originChoice(), 0);
    EXPECT_EQ(host.counters.keysCreated, 0u);
    EXPECT_EQ(originField(0).number, 2.0);
    dragBy(front, 100, 0); // Custom now, about the centre it kept
    EXPECT_DOUBLE_EQ(*key(a, "Position.X"), 2.0);
}

TEST_F(PellwynTest, BadFieldValuesNeverReachAKey) {
    host.choose(originChoice(), 0);
    host::Item &a = add("a", {1, 1, 1});
    a.channel("Position.X")->envelope.setKey(0.0, 1.0);
    select({&a});
    host.typeNumber(scaleField(0), NAN);
    host.typeNumber(scaleField(1), 1e308); // beyond single precision: infinity
    host.typeNumber(scaleField(2), 3.0);
    host.press(apply());
    EXPECT_EQ(*key(a, "Position.X"), 1.0);
    EXPECT_FALSE(key(a, "Position.Y"));
    EXPECT_DOUBLE_EQ(*key(a, "Position.Z"), 3.0);

    // A choice index the choice does not have keeps the old one.
    for (host::Control *choice : {&methodChoice(), &originChoice()}) {
        for (intptr_t bad : {7, -1}) {
            choice->integer = bad;
            host.fire(*choice);
            EXPECT_EQ(choice->integer, 0) << choice->label << " " << bad;
        }
    }
}

TEST_F(PellwynTest, NudgingAScaleFieldStoresTheFactor) {
    host::Control &nudgeY = *panel().at(8);
    host.dragTo(nudgeY, 0);
    host.dragTo(nudgeY, 5);
    EXPECT_EQ(scaleField(1).number, static_cast<double>(1.01f));
    activate();
    EXPECT_EQ(scaleField(1).number, static_cast<double>(1.01f));
}
