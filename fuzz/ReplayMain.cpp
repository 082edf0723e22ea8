// Runs a fuzz target outside libFuzzer: every file of the given folders, then a fixed
// batch of pseudo-random inputs, so the targets are exercised in every test run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::size_t runs = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], ec)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                            std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++runs;
        }
    }
    std::mt19937 rng(20261211);
    for (int i = 0; i < 2000; ++i) {
        std::vector<std::uint8_t> bytes(rng() % 4096);
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(rng());
        }
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++runs;
    }
    std::printf("%zu inputs replayed\n", runs);
    return 0;
}
