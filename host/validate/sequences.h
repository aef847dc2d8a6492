// sequences.h: step sequences decoded from bytes.
//
// The random runs and the fuzzers share one decoding: a seeded generator
// or a fuzzer's input supplies bytes, and the bytes choose a scene, the
// host's faults and then step after step. Any bytes decode to some
// sequence, so a fuzzer's input is always a valid run, and a seed names a
// run exactly.
#pragma once

#include "checker.h"

#include <cstdint>
#include <vector>

namespace validate {

// Where the bytes come from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The next byte; false when there are no more.
    virtual bool next(std::uint8_t &byte) = 0;
};

// A fuzzer's input.
class BufferSource : public ByteSource {
public:
    BufferSource(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
    bool next(std::uint8_t &byte) override;

private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// An endless run of bytes from a seed (splitmix64). When `recording` is
// given, every byte handed out is appended to it: a seed's bytes can be
// written out as a fuzzer's corpus entry.
class SeededSource : public ByteSource {
public:
    explicit SeededSource(std::uint64_t seed, std::vector<std::uint8_t> *recording = nullptr)
        : state_(seed), recording_(recording) {}
    bool next(std::uint8_t &byte) override;

private:
    std::uint64_t state_;
    std::uint64_t word_ = 0;
    int left_ = 0;
    std::vector<std::uint8_t> *recording_;
};

// What a sequence starts from.
struct SequenceSetup {
    int items = 3;                  // selectable items of the standard scene
    const char *lacking = nullptr;  // a channel item 0 goes without
    host::Faults faults;            // for the first activation
};

// Turns bytes into choices. Once the source runs dry every choice is 0.
class Decoder {
public:
    explicit Decoder(ByteSource &source) : source_(source) {}
    bool exhausted() const { return exhausted_; }

    unsigned pick(unsigned n);  // 0 .. n-1
    double number();            // ordinary values, edge values or any bit pattern
    int integer();              // ordinary values, the int limits or any bit pattern
    SequenceSetup setup();
    host::Faults faults();
    // The next few steps (a drag is several) for a scene of `items` selectable items.
    void steps(const host::Host &host, int items, std::vector<Step> &out);

private:
    ByteSource &source_;
    bool exhausted_ = false;

    std::uint8_t byte();
    ToolEvent event(const host::Host &host);
};

// Decodes a setup and steps and runs them with the rules checked: the
// scene, the selection of every selectable item, the activation, then steps
// until the bytes run out or `maxSteps` have run, and done.
void runSequence(const host::Module &module, const ChannelPolicy &policy, ByteSource &bytes, Reporter &reporter,
                 int maxSteps);

// The bytes that a run of `seed` with about `steps` steps consumes: a
// corpus entry for the fuzzers.
std::vector<std::uint8_t> seedBytes(std::uint64_t seed, int steps);

} // namespace validate
