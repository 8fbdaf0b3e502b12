// The encoders apart from the decoder check: zlib's deflate() and the
// decoder's deflate namespace cannot share one translation unit.
#include "stream_encoder.h"

#include <libdeflate.h>
#include <zlib.h>

#include <memory>

#include "pack_error.h"

namespace {

using Compressor = std::shared_ptr<libdeflate_compressor>;

Bytes Libdeflate(const Bytes& data, libdeflate_compressor* compressor) {
  Bytes out(libdeflate_deflate_compress_bound(compressor, data.size()));
  std::size_t size = libdeflate_deflate_compress(compressor, data.data(), data.size(), out.data(), out.size());
  out.resize(size);  // 0 would mean "did not fit", which the bound rules out; the check catches it anyway
  return out;
}

Bytes Zlib(const Bytes& data, int level) {
  z_stream stream{};
  // Negative window bits: raw DEFLATE, no zlib header or checksum.
  if (deflateInit2(&stream, level, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw PackError("zlib cannot start compressing");
  }
  Bytes out(deflateBound(&stream, static_cast<uLong>(data.size())));
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) out.clear();
  return out;
}

constexpr std::size_t kPieceSize = 1 << 18;

}  // namespace

void ZlibStreamed(int level, const ReadPiece& read, const WritePiece& write) {
  z_stream stream{};
  if (deflateInit2(&stream, level, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw PackError("zlib cannot start compressing");
  }
  std::unique_ptr<z_stream, decltype(&deflateEnd)> owner(&stream, &deflateEnd);
  Bytes in(kPieceSize), out(kPieceSize);
  int flush = Z_NO_FLUSH;
  while (flush != Z_FINISH) {
    std::size_t n = read(in.data(), in.size());
    flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
    stream.next_in = in.data();
    stream.avail_in = static_cast<uInt>(n);
    do {
      stream.next_out = out.data();
      stream.avail_out = static_cast<uInt>(out.size());
      int result = deflate(&stream, flush);
      if (result == Z_STREAM_ERROR) throw PackError("zlib failed while compressing");
      write(out.data(), out.size() - stream.avail_out);
    } while (stream.avail_out == 0);
  }
}

StreamEncoder LibdeflateEncoder(int level) {
  // One compressor for all the encoder's streams: its state takes a few
  // hundred KB at the strong levels, and the skin packer encodes hundreds
  // of small pictures. The tools are one thread.
  Compressor compressor(libdeflate_alloc_compressor(level), &libdeflate_free_compressor);
  if (!compressor) throw PackError("libdeflate cannot compress at level " + std::to_string(level));
  return {"libdeflate level " + std::to_string(level),
          [compressor](const Bytes& data) { return Libdeflate(data, compressor.get()); }};
}

std::vector<StreamEncoder> DefaultEncoders(int level) {
  return {
      LibdeflateEncoder(level),
      {"zlib level 9", [](const Bytes& data) { return Zlib(data, 9); }},
      {"zlib stored blocks", [](const Bytes& data) { return Zlib(data, 0); }},
  };
}
