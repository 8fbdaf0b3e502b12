// Decoding speed of the setup's PNG decoder against libpng, in one run, on
// the kind of pictures a skin holds: small RGBA icons, PngSuite's RGBA
// samples and a 500 x 70 RGBA banner (a gradient with text-like marks),
// made here with libpng at its default settings. A second set, every valid
// PngSuite file, shows the spread over all formats.
//
// libpng reads with the transforms the comparison needs (palette and
// low-depth expansion, 16-to-8 reduction, no gamma) and also checks CRCs and
// the Adler-32, which ours does not. The last lines print ours / libpng.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "graphics/image.h"
#include "graphics/png_decoder.h"
#include "log/abort_error.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
const std::string kSuite = TARNELL_TESTDATA "/pngsuite/";

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Encodes RGBA rows with libpng's default compression and filter choice.
Bytes EncodeRgba(std::uint32_t width, std::uint32_t height, const Bytes& rgba) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t length) {
        auto* bytes = static_cast<Bytes*>(png_get_io_ptr(p));
        bytes->insert(bytes->end(), data, data + length);
      },
      nullptr);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (std::uint32_t y = 0; y < height; ++y) png_write_row(png, &rgba[std::size_t{y} * width * 4]);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

// A picture of the kind a skin holds: a soft gradient, some anti-aliased
// dark marks in lines like text, and a transparent rounded border.
Bytes SkinPicture(std::uint32_t width, std::uint32_t height, std::uint32_t seed) {
  Bytes rgba(std::size_t{width} * height * 4);
  std::uint32_t noise = seed;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      std::uint8_t* p = &rgba[(std::size_t{y} * width + x) * 4];
      p[0] = static_cast<std::uint8_t>(60 + 120 * x / width);
      p[1] = static_cast<std::uint8_t>(90 + 100 * y / height);
      p[2] = static_cast<std::uint8_t>(200 - 60 * y / height);
      p[3] = 255;
      noise = noise * 1103515245u + 12345u;
      bool text_line = (y % 14) >= 4 && (y % 14) < 11;
      if (text_line && (noise >> 16) % 5 == 0) {
        std::uint8_t ink = static_cast<std::uint8_t>((noise >> 8) % 96);
        p[0] = p[1] = p[2] = ink;
      }
      std::uint32_t edge = std::min(std::min(x, width - 1 - x), std::min(y, height - 1 - y));
      if (edge < 2) p[3] = static_cast<std::uint8_t>(edge == 0 ? 0 : 128);
    }
  }
  return EncodeRgba(width, height, rgba);
}

struct Picture {
  std::string name;
  Bytes png;
};

std::vector<Picture> SkinSet() {
  std::vector<Picture> set;
  for (const char* name : {"basn6a08.png", "basi6a08.png", "tbrn2c08.png", "basn3p08.png"})
    set.push_back({name, ReadFileBytes(kSuite + name)});
  set.push_back({"banner 500x70", SkinPicture(500, 70, 1)});
  for (std::uint32_t side : {13u, 16u, 24u, 32u})
    set.push_back({"icon " + std::to_string(side), SkinPicture(side, side, side)});
  return set;
}

std::vector<Picture> SuiteSet() {
  std::vector<Picture> set;
  std::ifstream index(kSuite + "index.tsv");
  std::string line;
  std::getline(index, line);
  while (std::getline(index, line)) {
    std::string file = line.substr(0, line.find('\t'));
    if (line.find("\tok\t") != std::string::npos) set.push_back({file, ReadFileBytes(kSuite + file)});
  }
  return set;
}

bool DecodeOurs(const Bytes& png) {
  Image image;
  try {
    DecodePng(image, png.data(), png.size());
  } catch (const AbortError&) {
    return false;
  }
  benchmark::DoNotOptimize(image.Pixels());
  return true;
}

struct MemoryReader {
  const Bytes* png;
  std::size_t position;
};

bool DecodeLibpng(const Bytes& png) {
  png_structp read = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(read);
  std::vector<std::uint8_t> pixels;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(read))) {
    png_destroy_read_struct(&read, &info, nullptr);
    return false;
  }
  MemoryReader reader{&png, 0};
  png_set_read_fn(read, &reader, [](png_structp p, png_bytep data, png_size_t length) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(p));
    if (length > r->png->size() - r->position) png_error(p, "truncated");
    std::memcpy(data, r->png->data() + r->position, length);
    r->position += length;
  });
  png_read_info(read, info);
  png_set_expand(read);
  png_set_strip_16(read);
  png_set_interlace_handling(read);
  png_read_update_info(read, info);
  std::size_t row_bytes = png_get_rowbytes(read, info);
  std::uint32_t height = png_get_image_height(read, info);
  pixels.resize(row_bytes * height);
  for (std::uint32_t y = 0; y < height; ++y) rows.push_back(&pixels[y * row_bytes]);
  png_read_image(read, rows.data());
  png_read_end(read, nullptr);
  png_destroy_read_struct(&read, &info, nullptr);
  benchmark::DoNotOptimize(pixels.data());
  return true;
}

template <bool (*Decode)(const Bytes&)>
void DecodeSet(benchmark::State& state, const std::vector<Picture>& set) {
  std::size_t bytes = 0;
  for (const Picture& picture : set) {
    if (!Decode(picture.png)) {
      state.SkipWithError(("cannot decode " + picture.name).c_str());
      return;
    }
    bytes += picture.png.size();
  }
  for (auto _ : state)
    for (const Picture& picture : set) Decode(picture.png);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// Keeps the CPU time of every benchmark (steadier than wall time on a
// shared machine; the mean when repeated) and prints the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
      std::string name = run.run_name.str();
      if (mean || (run.run_type == Run::RT_Iteration && !times_.count(name))) times_[name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios() const {
    for (const char* set : {"skin", "suite"}) {
      auto ours = times_.find(std::string("Ours/") + set), libpng = times_.find(std::string("Libpng/") + set);
      if (ours != times_.end() && libpng != times_.end())
        std::printf("%-6s ours / libpng CPU time: %.2f\n", set, ours->second / libpng->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  static const std::vector<Picture> skin = SkinSet();
  static const std::vector<Picture> suite = SuiteSet();
  benchmark::RegisterBenchmark("Ours/skin", DecodeSet<DecodeOurs>, skin);
  benchmark::RegisterBenchmark("Libpng/skin", DecodeSet<DecodeLibpng>, skin);
  benchmark::RegisterBenchmark("Ours/suite", DecodeSet<DecodeOurs>, suite);
  benchmark::RegisterBenchmark("Libpng/suite", DecodeSet<DecodeLibpng>, suite);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
