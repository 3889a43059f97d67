// Plain driver for the fuzz target: every file of the corpus folders given on
// the command line, then a batch of inputs generated from them by a fixed
// pseudo-random mutation (truncation, byte flips, splices, repeated lines).
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Run(const QByteArray& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), static_cast<size_t>(input.size()));
}

QByteArray Mutate(const QByteArray& seed, const std::vector<QByteArray>& corpus, std::mt19937& rng) {
  QByteArray s = seed;
  const int steps = 1 + static_cast<int>(rng() % 4);
  static const char* const kTokens[] = {"#BLOCK_START\r\n", "#BLOCK_END\r\n", "IN00=", "IN15=", "ID=", "TYPE=",
                                        "#DLLDATA_START\r\n", "#DLLDATA_END\r\n", "2147483647", "-2147483648",
                                        ",", ":", "\r\n", "BmpFile=", "Font=", "99999999999"};
  for (int i = 0; i < steps; ++i) {
    const qsizetype at = s.isEmpty() ? 0 : static_cast<qsizetype>(rng() % static_cast<uint32_t>(s.size()));
    switch (rng() % 6) {
      case 0: s.truncate(at); break;
      case 1: if (!s.isEmpty()) s[at] = static_cast<char>(rng()); break;
      case 2: s.insert(at, kTokens[rng() % (sizeof kTokens / sizeof *kTokens)]); break;
      case 3: s.remove(at, static_cast<qsizetype>(rng() % 40)); break;
      case 4: {
        const QByteArray& other = corpus[rng() % corpus.size()];
        s = s.left(at) + other.mid(other.isEmpty() ? 0 : static_cast<qsizetype>(rng() % static_cast<uint32_t>(other.size())));
        break;
      }
      default: {
        QByteArray points = "IN01=65537,1:";
        for (int k = 0; k < 300; ++k) points += QByteArray::number(static_cast<int>(rng() % 4000) - 1000) + ",";
        s.insert(at, points + "0\r\n");
        break;
      }
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<QByteArray> corpus;
  for (int i = 1; i < argc; ++i) {
    const QDir dir(QString::fromLocal8Bit(argv[i]));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
      QFile f(dir.filePath(name));
      if (f.open(QIODevice::ReadOnly)) corpus.push_back(f.readAll());
    }
  }
  if (corpus.empty()) corpus.push_back(QByteArray());
  for (const QByteArray& input : corpus) Run(input);
  std::mt19937 rng(20240611u);
  const int generated = 2000;
  for (int i = 0; i < generated; ++i) Run(Mutate(corpus[rng() % corpus.size()], corpus, rng));
  std::printf("replayed %zu corpus files and %d generated inputs\n", corpus.size(), generated);
  return 0;
}
