// Opening the default skin and decoding every picture of it, as the setup
// does at start-up, against libpng decoding the same PNG bytes to RGBA in the
// same run. The last line prints the ratio ours / libpng.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
#include <vector>

#include "graphics/image.h"
#include "graphics/png_decoder.h"
#include "graphics/skin_directory.h"
#include "skin_pack.h"

namespace {

const std::vector<std::uint8_t>& Archive() {
  static const std::vector<std::uint8_t> archive = PackDefaultSkin();
  return archive;
}

void OursOpenAndDecodeAll(benchmark::State& state) {
  const auto& archive = Archive();
  for (auto _ : state) {
    SkinDirectory directory;
    directory.Parse(archive.data(), archive.size(), archive.size());
    for (int number = 1; number <= kSkinSlotCount; ++number) {
      const SkinSlot& slot = directory.Slot(number);
      if (!slot.IsReadable()) continue;
      Image image;
      DecodePng(image, archive.data() + slot.offset, slot.size);
      benchmark::DoNotOptimize(image);
    }
  }
}

void LibpngDecodeAll(benchmark::State& state) {
  const auto& archive = Archive();
  SkinDirectory directory;
  directory.Parse(archive.data(), archive.size(), archive.size());
  std::vector<std::uint8_t> pixels;
  for (auto _ : state) {
    for (int number = 1; number <= kSkinSlotCount; ++number) {
      const SkinSlot& slot = directory.Slot(number);
      if (!slot.IsReadable()) continue;
      png_image image{};
      image.version = PNG_IMAGE_VERSION;
      png_image_begin_read_from_memory(&image, archive.data() + slot.offset, slot.size);
      image.format = PNG_FORMAT_BGRA;
      pixels.resize(PNG_IMAGE_SIZE(image));
      png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
      benchmark::DoNotOptimize(pixels.data());
    }
  }
}

BENCHMARK(OursOpenAndDecodeAll)->Unit(benchmark::kMicrosecond);
BENCHMARK(LibpngDecodeAll)->Unit(benchmark::kMicrosecond);

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_name.function_name == "OursOpenAndDecodeAll") ours_ = run.GetAdjustedCPUTime();
      if (run.run_name.function_name == "LibpngDecodeAll") libpng_ = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (ours_ > 0 && libpng_ > 0) std::printf("default skin start-up, ours / libpng time: %.2f\n", ours_ / libpng_);
  }

 private:
  double ours_ = 0;
  double libpng_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
