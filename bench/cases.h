// cases.h: what each benchmarked case does on the tool's side and on the
// floor's side.
//
// The floor of a case is a loop that makes exactly the host calls the tool
// must make for that case, through the same service records and on the
// same scene, and nothing else: the tool's own arithmetic, name matching
// and bookkeeping are what the ratio tool / floor measures.
#pragma once

#include "context.h"

#include <vector>

enum class Step {
    moveCreated, // a drag step at a time where the keyed channels have no key yet
    moveUpdated, // a drag step at a time where they have one
    down,        // the press: axis, handle test and the snapshot with its channel walk
    apply,       // the panel's Apply: its reads, a snapshot and the keys
};

const char *stepName(Step step);
inline bool isMove(Step step) { return step == Step::moveCreated || step == Step::moveUpdated; }

// What both sides of a case work with, set up before the timing starts.
struct Stage {
    Services services;
    PanelId panel = nullptr;
    host::Control *applyButton = nullptr;

    // The floor's view of the panel: the controls the case reads or writes.
    std::vector<ControlId> reads;  // read with getControl, in the tool's order
    std::vector<ControlId> writes; // written with setControl, in the tool's order
    ControlId choiceRead = nullptr, choiceWrite = nullptr;
    // The floor's copy of what a snapshot finds: envelopes per item (as many
    // as `slots`) and the values itemParam gave.
    int slots = 0;
    std::vector<EnvelopeId> envelopes;
    std::vector<double> values;
};

struct Case {
    ToolKind kind;
    Step step;
    // Puts the tool in the case's state (method, typed values, a snapshot
    // of the selection for a drag) and fills the stage. Not timed.
    void (*setUp)(Context &, Stage &);
    void (*toolStep)(Context &, Stage &, int step);
    void (*floorStep)(Context &, Stage &, int step);
};

const std::vector<Case> &allCases();
