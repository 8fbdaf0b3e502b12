// Decoding throughput of the setup's DEFLATE decoder against zlib's inflate
// and libdeflate, on the same payload in the same run: text, C headers,
// executables and already-compressed files, 14 MB of each, one raw stream
// per kind. Prints MB/s per decoder and kind (ours also fed to the caller in
// 8 KiB pieces, as the install extracts), then the ratios ours/zlib and
// ours/libdeflate, from the medians of interleaved repetitions.
//
// Run: inflate_bench [Google Benchmark flags]
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "inflate/inflate_state.h"
#include "inflate/memory_source.h"
#include "payload.h"

namespace {

constexpr std::size_t kBytesPerKind = std::size_t{14} << 20;
const char* const kKinds[] = {"all", "text", "source", "binary", "compressed"};

std::vector<PayloadPart> g_payload;
// All streams one after the other, as the setup carries its files.
Bytes g_package;
std::vector<std::size_t> g_offsets;

std::vector<std::size_t> PartsOf(const std::string& kind) {
  std::vector<std::size_t> parts;
  for (std::size_t i = 0; i < g_payload.size(); ++i) {
    if (kind == "all" || g_payload[i].kind == kind) parts.push_back(i);
  }
  return parts;
}

void CountBytes(benchmark::State& state, const std::vector<std::size_t>& parts) {
  std::int64_t total = 0;
  for (std::size_t i : parts) total += static_cast<std::int64_t>(g_payload[i].original.size());
  state.SetBytesProcessed(state.iterations() * total);
}

// Ours as the install uses it: one state for every stream, the package
// source moved to each stream's start. `piece` 0 asks for a stream's output
// at once, otherwise in pieces of that size.
void DecodeOurs(benchmark::State& state, const std::string& kind, std::size_t piece) {
  const std::vector<std::size_t> parts = PartsOf(kind);
  Bytes output(kBytesPerKind + 1);
  MemorySource package(g_package.data(), g_package.size());
  InflateState inflater(&package);
  for (auto _ : state) {
    for (std::size_t i : parts) {
      package.Seek(g_offsets[i]);
      inflater.BeginStream();
      const std::size_t size = g_payload[i].original.size();
      std::size_t produced = 0;
      if (piece == 0) {
        produced = inflater.Inflate(size + 1, output.data());
      } else {
        std::size_t got = piece;
        while (got == piece) {
          got = inflater.Inflate(piece, output.data() + produced);
          produced += got;
        }
      }
      benchmark::DoNotOptimize(output.data());
      if (produced != size) state.SkipWithError("wrong output size");
    }
  }
  CountBytes(state, parts);
}

void DecodeZlib(benchmark::State& state, const std::string& kind) {
  const std::vector<std::size_t> parts = PartsOf(kind);
  Bytes output(kBytesPerKind);
  z_stream z{};
  inflateInit2(&z, -15);
  for (auto _ : state) {
    for (std::size_t i : parts) {
      inflateReset(&z);
      z.next_in = g_payload[i].stream.data();
      z.avail_in = static_cast<uInt>(g_payload[i].stream.size());
      z.next_out = output.data();
      z.avail_out = static_cast<uInt>(output.size());
      if (inflate(&z, Z_FINISH) != Z_STREAM_END || z.total_out != g_payload[i].original.size()) {
        state.SkipWithError("zlib failed");
      }
      benchmark::DoNotOptimize(output.data());
    }
  }
  inflateEnd(&z);
  CountBytes(state, parts);
}

void DecodeLibdeflate(benchmark::State& state, const std::string& kind) {
  const std::vector<std::size_t> parts = PartsOf(kind);
  Bytes output(kBytesPerKind);
  libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
  for (auto _ : state) {
    for (std::size_t i : parts) {
      std::size_t size = 0;
      if (libdeflate_deflate_decompress(decompressor, g_payload[i].stream.data(), g_payload[i].stream.size(),
                                        output.data(), output.size(), &size) != LIBDEFLATE_SUCCESS ||
          size != g_payload[i].original.size()) {
        state.SkipWithError("libdeflate failed");
      }
      benchmark::DoNotOptimize(output.data());
    }
  }
  libdeflate_free_decompressor(decompressor);
  CountBytes(state, parts);
}

// Checks once, outside the timing, that ours gives every original back.
bool OursDecodesPayload() {
  MemorySource package(g_package.data(), g_package.size());
  InflateState inflater(&package);
  Bytes output(kBytesPerKind + 1);
  for (std::size_t i = 0; i < g_payload.size(); ++i) {
    package.Seek(g_offsets[i]);
    inflater.BeginStream();
    const Bytes& original = g_payload[i].original;
    if (inflater.Inflate(output.size(), output.data()) != original.size() ||
        std::memcmp(output.data(), original.data(), original.size()) != 0) {
      std::fprintf(stderr, "our decoder does not give back the %s stream\n", g_payload[i].kind.c_str());
      return false;
    }
  }
  return true;
}

// The console report, plus the median speed of every benchmark for the ratios.
class RatioReporter final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      auto rate = run.counters.find("bytes_per_second");
      bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (rate != run.counters.end() && !run.error_occurred && (median || run.repetitions <= 1)) {
        speeds[run.run_name.function_name] = rate->second.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  std::map<std::string, double> speeds;
};

}  // namespace

int main(int argc, char** argv) {
  try {
    g_payload = BuildPayload(kBytesPerKind);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "inflate_bench: %s\n", error.what());
    return 1;
  }
  for (const PayloadPart& part : g_payload) {
    g_offsets.push_back(g_package.size());
    g_package.insert(g_package.end(), part.stream.begin(), part.stream.end());
  }
  if (!OursDecodesPayload()) return 1;

  for (const char* kind : kKinds) {
    const std::string k = kind;
    benchmark::RegisterBenchmark(("ours/" + k).c_str(), [k](benchmark::State& s) { DecodeOurs(s, k, 0); });
    benchmark::RegisterBenchmark(("ours-8k-pieces/" + k).c_str(), [k](benchmark::State& s) { DecodeOurs(s, k, 8192); });
    benchmark::RegisterBenchmark(("zlib/" + k).c_str(), [k](benchmark::State& s) { DecodeZlib(s, k); });
    benchmark::RegisterBenchmark(("libdeflate/" + k).c_str(), [k](benchmark::State& s) { DecodeLibdeflate(s, k); });
  }

  // Interleaved repetitions and medians keep a busy machine from favouring
  // whichever decoder ran in a quiet moment.
  std::vector<char*> arguments(argv, argv + argc);
  char repetitions[] = "--benchmark_repetitions=5";
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  char aggregates[] = "--benchmark_report_aggregates_only=true";
  arguments.insert(arguments.begin() + 1, {repetitions, interleave, aggregates});
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 1;

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\npayload: %zu MB in %zu streams of %zu MB, zlib level 6 raw DEFLATE\n",
              g_payload.size() * kBytesPerKind >> 20, g_payload.size(), kBytesPerKind >> 20);
  std::printf("%-12s %10s %14s %10s %12s %10s %16s\n", "kind", "ours MB/s", "ours 8K pieces", "zlib MB/s", "libdeflate",
              "ours/zlib", "ours/libdeflate");
  for (const char* kind : kKinds) {
    const std::string k = kind;
    double ours = reporter.speeds["ours/" + k], pieces = reporter.speeds["ours-8k-pieces/" + k],
           zlib = reporter.speeds["zlib/" + k], libdeflate = reporter.speeds["libdeflate/" + k];
    if (ours == 0 || zlib == 0 || libdeflate == 0) continue;  // filtered out
    std::printf("%-12s %10.1f %14.1f %10.1f %12.1f %10.2f %16.2f\n", kind, ours / 1e6, pieces / 1e6, zlib / 1e6,
                libdeflate / 1e6, ours / zlib, ours / libdeflate);
  }
  return 0;
}
