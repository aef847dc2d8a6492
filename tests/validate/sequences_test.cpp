// Step sequences decoded from bytes: a seed names one sequence, and the
// bytes a seed hands out, given back as a fuzzer's input, decode to the
// same steps. That is what makes a random run's seed and a fuzzer's corpus
// entry replayable.
#include "sequences.h"
#include "workouts.h"

#include <gtest/gtest.h>

namespace {

// The described steps of a sequence, its setup first.
std::vector<std::string> decode(validate::ByteSource &bytes, const host::Host &host, std::size_t steps) {
    validate::Decoder decoder(bytes);
    const validate::SequenceSetup setup = decoder.setup();
    std::vector<std::string> out{std::to_string(setup.items) + " items" + (setup.lacking ? " lacking " : "") +
                                 (setup.lacking ? setup.lacking : "") +
                                 ", " + validate::describe(validate::activateStep(setup.faults))};
    std::vector<validate::Step> batch;
    while (out.size() < steps && !decoder.exhausted()) {
        batch.clear();
        decoder.steps(host, setup.items, batch);
        if (decoder.exhausted()) break; // that batch was partly made of missing bytes
        for (const validate::Step &step : batch) out.push_back(validate::describe(step));
    }
    return out;
}

} // namespace

TEST(Sequences, ASeedNamesOneSequence) {
    const host::Host host;
    for (std::uint64_t seed : {0ull, 1ull, 987654321ull}) {
        validate::SeededSource first(seed), second(seed), next(seed + 1);
        const auto steps = decode(first, host, 300);
        EXPECT_EQ(steps, decode(second, host, 300)) << seed;
        EXPECT_NE(steps, decode(next, host, 300)) << seed;
    }
}

TEST(Sequences, ASeedsBytesReplayAsAFuzzerInput) {
    const host::Host host;
    for (std::uint64_t seed : {3ull, 42ull, 4000000000ull}) {
        const std::vector<std::uint8_t> bytes = validate::seedBytes(seed, 150);
        validate::SeededSource generated(seed);
        validate::BufferSource given(bytes.data(), bytes.size());
        const auto fromBytes = decode(given, host, 1000); // until the bytes run out
        EXPECT_GE(fromBytes.size(), 150u);
        EXPECT_EQ(fromBytes, decode(generated, host, fromBytes.size())) << seed;
    }
}

TEST(Sequences, RunDryWithoutFailing) {
    // Once the bytes are gone every choice is 0: a decoder never reads past
    // the input and still gives whole steps.
    const host::Host host;
    const std::uint8_t few[] = {0xff, 0x00, 0x80};
    validate::BufferSource bytes(few, sizeof few);
    validate::Decoder decoder(bytes);
    decoder.setup();
    std::vector<validate::Step> batch;
    decoder.steps(host, 3, batch);
    EXPECT_TRUE(decoder.exhausted());
    EXPECT_FALSE(batch.empty());
}
