// Replays the simulator fuzz target without libFuzzer: over the files of
// the given directories or files, and over a batch of generated memory
// images (--random COUNT SEED), biased toward valid instructions so that
// the runs get past the first bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int RunFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return 1;
}

// Opcodes the interpreter knows, with the markers more frequent.
const uint8_t kOpcodes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 20, 21, 22, 23, 24,
                            25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 40, 41, 42, 43, 44, 45, 46, 47,
                            48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 70, 70,
                            70, 71, 72, 73, 74, 75, 76, 77, 80, 81, 82, 83, 84, 253, 254, 255, 20, 20, 4, 3};

std::vector<uint8_t> RandomInput(std::mt19937& rng) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<uint8_t> in;
  in.push_back(static_cast<uint8_t>(byte(rng)));
  in.push_back(static_cast<uint8_t>(byte(rng) & 0x3F));
  int image = std::uniform_int_distribution<int>(0, 8200)(rng);
  uint16_t length = static_cast<uint16_t>(image + 0x1000);
  in.push_back(static_cast<uint8_t>(length >> 8));
  in.push_back(static_cast<uint8_t>(length));
  in.push_back(static_cast<uint8_t>(byte(rng)));
  in.push_back(static_cast<uint8_t>(byte(rng)));
  // Header: a download length near the image length, then code.
  int download = std::uniform_int_distribution<int>(0, image + 16)(rng);
  in.push_back(static_cast<uint8_t>(download >> 8));
  in.push_back(static_cast<uint8_t>(download));
  in.push_back(0);
  in.push_back(0);
  int code = std::uniform_int_distribution<int>(0, 600)(rng);
  for (int i = 0; i < code; ++i) {
    int kind = byte(rng);
    if (kind < 160) {
      in.push_back(kOpcodes[static_cast<size_t>(byte(rng)) % sizeof kOpcodes]);
    } else if (kind < 200) {  // a jump target inside the code or near the end of memory
      int target = kind < 190 ? 4 + byte(rng) * 2 % (code + 1) : 8100 + byte(rng);
      in.push_back(static_cast<uint8_t>(target >> 8));
      in.push_back(static_cast<uint8_t>(target));
    } else {
      in.push_back(static_cast<uint8_t>(byte(rng) % 32));
    }
  }
  return in;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--random") == 0 && i + 2 < argc) {
      int count = std::atoi(argv[i + 1]);
      std::mt19937 rng(static_cast<uint32_t>(std::strtoul(argv[i + 2], nullptr, 10)));
      for (int k = 0; k < count; ++k) {
        std::vector<uint8_t> in = RandomInput(rng);
        LLVMFuzzerTestOneInput(in.data(), in.size());
        ++runs;
      }
      i += 2;
      continue;
    }
    std::filesystem::path path(argv[i]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path))
        if (entry.is_regular_file()) runs += RunFile(entry.path());
    } else {
      runs += RunFile(path);
    }
  }
  std::printf("%d inputs replayed\n", runs);
  return runs > 0 ? 0 : 1;
}
