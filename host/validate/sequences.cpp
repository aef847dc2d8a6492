// sequences.cpp: decoding bytes into steps.
#include "sequences.h"

#include "workouts.h"

#include <climits>
#include <cstring>
#include <limits>

namespace validate {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

const double numbers[] = {0.0,     1.0,      2.0,     0.5,   -1.0,   1.5,     10.0,         -3.25,
                          100.0,   0.1,      99999.0, 0.001, nan,    inf,     -inf,         1e308,
                          -1e308,  -0.0,     1e-300,  5e-324, 1e300, 2147483648.0, -2147483649.0, -100001.0};
constexpr unsigned numberCount = sizeof numbers / sizeof numbers[0];

const int integers[] = {0,    1,     -1,      2,       5,           10,          25,     -10,
                        150,  1000,  -1000,   100000,  INT_MIN,     INT_MAX,     INT_MIN + 1, INT_MAX - 1};
constexpr unsigned integerCount = sizeof integers / sizeof integers[0];

const int edgeViewports[] = {-1, 3, 1000, INT_MIN, INT_MAX};

const char *const serviceNames[] = {PANEL_SERVICE_NAME,  VIEWPORT_SERVICE_NAME, INTERFACE_SERVICE_NAME,
                                    ITEM_SERVICE_NAME,   TIME_SERVICE_NAME,     CHANNEL_SERVICE_NAME,
                                    ENVELOPE_SERVICE_NAME};

const int itemCounts[] = {3, 0, 1, 2, 5, 12, 40};

const double times[] = {1.0, 0.0, 2.0, 0.5, 3.0, -1.0, 1e6};

// The kinds of step, as often as they should come.
enum class Kind { drag, handleDrag, start, down, move, up, work, nudge, select, time, grid, draw, query, closePanel,
                  done, activate };
const Kind kinds[] = {Kind::drag,  Kind::drag,   Kind::drag,   Kind::handleDrag, Kind::start,      Kind::down,
                      Kind::move,  Kind::move,   Kind::up,     Kind::work,       Kind::work,       Kind::work,
                      Kind::work,  Kind::nudge,  Kind::select, Kind::select,     Kind::time,       Kind::grid,
                      Kind::draw,  Kind::query,  Kind::query,  Kind::closePanel, Kind::done,       Kind::activate};
constexpr unsigned kindCount = sizeof kinds / sizeof kinds[0];

} // namespace

bool BufferSource::next(std::uint8_t &byte) {
    if (at_ >= size_) return false;
    byte = data_[at_++];
    return true;
}

bool SeededSource::next(std::uint8_t &byte) {
    if (left_ == 0) {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        word_ = z ^ (z >> 31);
        left_ = 8;
    }
    byte = static_cast<std::uint8_t>(word_ >> (8 * --left_));
    if (recording_) recording_->push_back(byte);
    return true;
}

std::uint8_t Decoder::byte() {
    std::uint8_t b = 0;
    if (!exhausted_ && !source_.next(b)) {
        exhausted_ = true;
        b = 0;
    }
    return b;
}

unsigned Decoder::pick(unsigned n) {
    if (n <= 1) return 0;
    unsigned v = byte();
    if (n > 256) v = v << 8 | byte();
    return v % n;
}

double Decoder::number() {
    const unsigned choice = pick(64);
    if (choice < numberCount) return numbers[choice];
    if (choice < 60) return static_cast<std::int8_t>(byte()) / 4.0; // an ordinary value, quarters from -32 to 32
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = bits << 8 | byte();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

int Decoder::integer() {
    const unsigned choice = pick(32);
    if (choice < integerCount) return integers[choice];
    if (choice < 28) return static_cast<std::int8_t>(byte());
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = bits << 8 | byte();
    std::int32_t v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

host::Faults Decoder::faults() {
    host::Faults f;
    switch (pick(4)) {
    case 0: { // one service or several missing
        const unsigned mask = pick(127) + 1;
        for (unsigned i = 0; i < 7; ++i)
            if (mask & (1u << i)) f.missingServices.emplace_back(serviceNames[i]);
        break;
    }
    case 1: f.createPanelFails = true; break;
    case 2: f.addControlFailsAt = static_cast<int>(pick(24)); break;
    default: break; // none
    }
    return f;
}

SequenceSetup Decoder::setup() {
    SequenceSetup s;
    s.items = itemCounts[pick(sizeof itemCounts / sizeof itemCounts[0])];
    if (pick(4) == 0) s.lacking = host::defaultChannelNames[pick(9)];
    if (pick(6) == 0) s.faults = faults();
    return s;
}

ToolEvent Decoder::event(const host::Host &host) {
    const unsigned where = pick(16);
    const int viewport = where < 15 ? static_cast<int>(where % 3) : edgeViewports[pick(5)];
    const double x = 320 + static_cast<std::int8_t>(byte()) * 2.0;
    const double y = 240 + static_cast<std::int8_t>(byte()) * 2.0;
    int flags = 0;
    switch (pick(8)) {
    case 0: flags = EVENT_FLAG_MODIFIER; break;
    case 1: flags = static_cast<int>(1u << pick(32)); break;
    case 2: flags = -1; break;
    case 3: flags = integer(); break;
    default: break;
    }
    ToolEvent e = eventAt(host, viewport, x, y, integer(), integer(), flags);
    if (pick(8) == 0)
        for (double &p : e.eventPosition) p = number();
    if (pick(8) == 0)
        for (double &a : e.eventAxis) a = number();
    return e;
}

void Decoder::steps(const host::Host &host, int items, std::vector<Step> &out) {
    auto pickItem = [&] { return items > 0 ? static_cast<int>(pick(static_cast<unsigned>(items))) : 0; };
    const Kind kind = kinds[pick(kindCount)];
    switch (kind) {
    case Kind::drag:
    case Kind::handleDrag: {
        const bool onHandle = kind == Kind::handleDrag;
        const int viewport = static_cast<int>(pick(3));
        const int flags = pick(3) == 0 ? EVENT_FLAG_MODIFIER : 0;
        std::vector<std::array<double, 2>> pixels{{320.0 + static_cast<std::int8_t>(byte()),
                                                   240.0 + static_cast<std::int8_t>(byte())}};
        for (unsigned n = pick(5) + 1; n > 0; --n)
            pixels.push_back({pixels.back()[0] + static_cast<std::int8_t>(byte()),
                              pixels.back()[1] + static_cast<std::int8_t>(byte())});
        auto steps = onHandle ? handleDrag(host, viewport, {pixels.begin() + 1, pixels.end()}, flags)
                              : drag(host, viewport, pixels, flags);
        out.insert(out.end(), steps.begin(), steps.end());
        return;
    }
    case Kind::start: out.push_back(eventStep(Action::start, event(host))); return;
    case Kind::down: out.push_back(eventStep(Action::down, event(host))); return;
    case Kind::move: out.push_back(eventStep(Action::move, event(host))); return;
    case Kind::up: out.push_back(eventStep(Action::up, event(host))); return;
    case Kind::work: {
        Step step = simpleStep(Action::work, static_cast<int>(pick(32)));
        step.number = number();
        const unsigned position = pick(4);
        step.position = position == 0 ? integer() : position == 1 ? -1 : static_cast<int>(pick(4));
        out.push_back(step);
        return;
    }
    case Kind::nudge: { // one control worked several times in a row, as a drag across a button does
        const int control = static_cast<int>(pick(32));
        for (unsigned n = pick(6) + 2; n > 0; --n) {
            Step step = simpleStep(Action::work, control);
            step.number = number();
            step.position = pick(4) == 0 ? integer() : static_cast<int>(pick(64));
            out.push_back(step);
        }
        return;
    }
    case Kind::select: {
        std::vector<int> chosen;
        switch (pick(5)) {
        case 0: break;
        case 1:
            if (items > 0) chosen.push_back(pickItem());
            break;
        case 2: chosen = firstItems(items); break;
        case 3:
            for (unsigned n = pick(6) + 1; n > 0 && items > 0; --n) chosen.push_back(pickItem());
            break;
        default:
            chosen = firstItems(items);
            for (int i = 0; i < items; ++i) chosen.push_back(i);
            break;
        }
        out.push_back(selectStep(std::move(chosen)));
        return;
    }
    case Kind::time: out.push_back(numberStep(Action::setTime, times[pick(sizeof times / sizeof times[0])])); return;
    case Kind::grid: out.push_back(numberStep(Action::setGrid, number(), static_cast<int>(pick(4)) - 1)); return;
    case Kind::draw: out.push_back(simpleStep(Action::draw, pick(4) == 0 ? integer() : static_cast<int>(pick(3)))); return;
    case Kind::query: {
        static const Action queries[] = {Action::help, Action::dirty, Action::count, Action::handle, Action::adjust,
                                         Action::event};
        const Action query = queries[pick(6)];
        out.push_back(simpleStep(query, query == Action::event && pick(2) == 0 ? TOOL_EVENT_REFRESH : integer()));
        return;
    }
    case Kind::closePanel: out.push_back(simpleStep(Action::closePanel)); return;
    case Kind::done: out.push_back(simpleStep(Action::done)); return;
    case Kind::activate: out.push_back(activateStep(pick(3) == 0 ? faults() : host::Faults{})); return;
    }
}

void runSequence(const host::Module &module, const ChannelPolicy &policy, ByteSource &bytes, Reporter &reporter,
                 int maxSteps) {
    Decoder decoder(bytes);
    const SequenceSetup setup = decoder.setup();
    Session session(module);
    standardScene(session, setup.items, setup.lacking);
    Checker checker(session, policy, reporter);
    checker.run(selectStep(firstItems(setup.items)));
    checker.run(activateStep(setup.faults));
    std::vector<Step> batch;
    while (!decoder.exhausted() && checker.steps() < maxSteps) {
        batch.clear();
        decoder.steps(session.host(), setup.items, batch);
        checker.run(batch);
    }
    checker.run(simpleStep(Action::done));
    reporter.note("steps " + std::to_string(checker.steps()));
}

std::vector<std::uint8_t> seedBytes(std::uint64_t seed, int steps) {
    std::vector<std::uint8_t> bytes;
    SeededSource source(seed, &bytes);
    Decoder decoder(source);
    const host::Host host;
    const SequenceSetup setup = decoder.setup();
    std::vector<Step> batch;
    for (int made = 0; made < steps; made += static_cast<int>(batch.size())) {
        batch.clear();
        decoder.steps(host, setup.items, batch);
    }
    return bytes;
}

} // namespace validate
