// Replays a fuzz target over files and over inputs made from them: truncated,
// bytes flipped, lines shuffled and repeated. Used by CTest; the fuzzer
// itself is built only with clang's libFuzzer.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<uint8_t> ReadAll(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> Mutate(std::vector<uint8_t> v, std::mt19937& rng) {
  switch (rng() % 4) {
    case 0:
      v.resize(v.empty() ? 0 : rng() % v.size());
      break;
    case 1:
      for (int i = 0; i < 8 && !v.empty(); ++i) v[rng() % v.size()] = static_cast<uint8_t>(rng());
      break;
    case 2: {  // repeat a slice
      if (v.size() < 2) break;
      size_t a = rng() % v.size(), b = a + rng() % (v.size() - a);
      v.insert(v.begin() + static_cast<std::ptrdiff_t>(rng() % v.size()), v.begin() + static_cast<std::ptrdiff_t>(a),
               v.begin() + static_cast<std::ptrdiff_t>(b));
      break;
    }
    default:  // drop a slice
      if (v.size() < 2) break;
      size_t a = rng() % v.size();
      v.erase(v.begin() + static_cast<std::ptrdiff_t>(a), v.begin() + static_cast<std::ptrdiff_t>(a + rng() % (v.size() - a)));
  }
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::vector<uint8_t>> seeds;
  for (int i = 1; i < argc; ++i) seeds.push_back(ReadAll(argv[i]));
  for (const auto& s : seeds) LLVMFuzzerTestOneInput(s.data(), s.size());
  std::mt19937 rng(20261207);
  const int rounds = seeds.empty() ? 0 : 300;
  for (int i = 0; i < rounds; ++i) {
    std::vector<uint8_t> input = seeds[rng() % seeds.size()];
    for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k) input = Mutate(std::move(input), rng);
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::printf("replayed %zu files and %d generated inputs\n", seeds.size(), rounds);
  return 0;
}
