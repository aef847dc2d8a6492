// write_seeds.cpp: writes the fuzzers' seed corpus: the bytes of a few
// seeded random sequences, which decode to ordinary runs of each tool.
//
//   write_seeds DIR     writes DIR/seed-1 ... DIR/seed-8
#include "sequences.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_seeds DIR\n");
        return 2;
    }
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        const std::vector<std::uint8_t> bytes = validate::seedBytes(seed, 40);
        const std::string path = std::string(argv[1]) + "/seed-" + std::to_string(seed);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "write_seeds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
