// Runs a fuzz target without libFuzzer: every file named on the command line,
// then a fixed number of generated inputs from a fixed seed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    const char* runsText = std::getenv("FUZZ_RUNS");
    const int runs = runsText != nullptr ? std::atoi(runsText) : 3000;
    std::mt19937 random(20261207);
    for (int run = 0; run < runs; ++run) {
        std::vector<uint8_t> bytes(random() % 20000);
        // Mostly report-shaped bytes: id 7 or 9 often, the rest anything.
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = (i % 8 == 0 && random() % 4 != 0) ? ((random() & 1) ? 9 : 7) : static_cast<uint8_t>(random());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%d generated inputs: no fault\n", runs);
    return 0;
}
