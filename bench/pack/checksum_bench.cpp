// The whole-file check the setup runs after "Install" is pressed: the PE
// checksum over a 150 MB setup, against its peer in the same run, reading
// the same file in the same pieces without summing (what no check would
// cost at the least), and libdeflate's CRC-32 over the same bytes in memory.
// Prints MB/s for each; the ratio sum/read is the check's own share.
//
// Run: checksum_bench [Google Benchmark flags]
#include <benchmark/benchmark.h>
#include <libdeflate.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "package/package_sum.h"
#include "package/pe_checksum.h"
#include "setup_file.h"

namespace {

constexpr std::size_t kSetupSize = std::size_t{150} << 20;
constexpr std::size_t kPiece = 65536;

std::string g_path;
std::vector<std::uint8_t> g_bytes;

void MakeSetup() {
  g_bytes.resize(kSetupSize);
  std::mt19937 random(1);
  for (std::size_t i = 0; i < g_bytes.size(); ++i) g_bytes[i] = static_cast<std::uint8_t>(random());
  // A PE32 header whose CheckSum is the file's, so the check runs to its end.
  const std::uint8_t header[] = {'M', 'Z'};
  std::copy(std::begin(header), std::end(header), g_bytes.begin());
  std::size_t pe = 0x80;
  for (int i = 0; i < 4; ++i) g_bytes[0x3C + i] = static_cast<std::uint8_t>(pe >> (8 * i));
  const std::uint8_t signature[] = {'P', 'E', 0, 0};
  std::copy(std::begin(signature), std::end(signature), g_bytes.begin() + pe);
  g_bytes[pe + 20] = 224;  // optional header size
  g_bytes[pe + 21] = 0;
  g_bytes[pe + 24] = 0x0B;  // PE32
  g_bytes[pe + 25] = 0x01;
  g_bytes[pe + 24 + 92] = 16;  // data directory entries
  for (int i = 1; i < 4; ++i) g_bytes[pe + 24 + 92 + i] = 0;
  for (int i = 0; i < 8; ++i) g_bytes[pe + 24 + 96 + 4 * 8 + i] = 0;  // unsigned
  std::size_t field = pe + 24 + 64;
  std::uint32_t sum = PeFileChecksum(g_bytes.data(), g_bytes.size(), field);
  for (int i = 0; i < 4; ++i) g_bytes[field + i] = static_cast<std::uint8_t>(sum >> (8 * i));
  g_path = "/tmp/checksum-bench-" + std::to_string(getpid()) + ".exe";
  std::FILE* file = std::fopen(g_path.c_str(), "wb");
  std::fwrite(g_bytes.data(), 1, g_bytes.size(), file);
  std::fclose(file);
}

void CheckWholeFile(benchmark::State& state) {
  for (auto _ : state) {
    SetupFile file(g_path);
    PackageSum sum = CheckPackageSum(file, 4096);
    if (sum != PackageSum::kWholeFile) state.SkipWithError("the sum does not hold");
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kSetupSize));
}

void ReadWholeFile(benchmark::State& state) {
  std::vector<std::uint8_t> piece(kPiece);
  for (auto _ : state) {
    SetupFile file(g_path);
    for (std::uint64_t at = 0; at < kSetupSize; at += kPiece) file.ReadAt(at, piece.data(), kPiece);
    benchmark::DoNotOptimize(piece.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kSetupSize));
}

void SumInMemory(benchmark::State& state) {
  for (auto _ : state) {
    PeChecksum sum;
    sum.Add(g_bytes.data(), g_bytes.size());
    benchmark::DoNotOptimize(sum.Folded());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kSetupSize));
}

void Crc32InMemory(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(libdeflate_crc32(0, g_bytes.data(), g_bytes.size()));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kSetupSize));
}

}  // namespace

int main(int argc, char** argv) {
  MakeSetup();
  benchmark::RegisterBenchmark("check 150 MB setup file", CheckWholeFile)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("read 150 MB setup file (peer)", ReadWholeFile)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("PE sum in memory", SumInMemory)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("libdeflate CRC-32 in memory (peer)", Crc32InMemory)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(g_path.c_str());
  return 0;
}
