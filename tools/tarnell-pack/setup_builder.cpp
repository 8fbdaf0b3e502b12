#include "setup_builder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>

#include "abort_reason.h"
#include "integrity_record.h"
#include "pack_error.h"
#include "package/directory_writer.h"
#include "package/package_loader.h"
#include "package/pe_checksum.h"
#include "package/pe_image.h"
#include "pe_resources.h"
#include "setup_branding.h"
#include "setup_file.h"
#include "stub_check.h"
#include "temporary_file.h"

namespace {

constexpr std::uint64_t kAddressable = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kSignatureAlignment = 8;
constexpr std::size_t kPieceSize = 1 << 20;

std::uint32_t Offset(std::uint64_t at, const std::string& what) {
  if (at > kAddressable) throw PackError(what + " would start beyond 4 GiB, which the package cannot address");
  return static_cast<std::uint32_t>(at);
}

void Append(TemporaryFile& out, const Bytes& part) { out.Append(part.data(), part.size()); }

Text AnsiText(const std::string& text) {
  Text result;
  result.Assign(text.c_str());
  return result;
}

// A source file read in pieces; PackError when it cannot be read.
class SourceReader {
 public:
  explicit SourceReader(const std::string& path) : path_(path), in_(path, std::ios::binary) {
    if (!in_) throw PackError("cannot open source file " + path);
  }
  std::size_t operator()(std::uint8_t* bytes, std::size_t n) {
    in_.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(n));
    if (in_.bad()) throw PackError("cannot read source file " + path_);
    count_ += static_cast<std::uint64_t>(in_.gcount());
    return static_cast<std::size_t>(in_.gcount());
  }
  std::uint64_t Count() const { return count_; }

 private:
  std::string path_;
  std::ifstream in_;
  std::uint64_t count_ = 0;
};

// Streams a file too large to hold through zlib into `out`, then reads the
// stream back through the setup's decoder against the file; stored blocks
// when the setup would refuse the compressed stream. The stream's size.
std::uint64_t PackLargeFile(TemporaryFile& out, const ManifestFile& file, int level, const FileProgress& on_progress) {
  std::uint64_t start = out.Size();
  for (int zlib_level : {std::min(level, 9), 0}) {
    out.TruncateTo(start);
    SourceReader source(file.source);
    std::uint64_t reported = 0;
    ZlibStreamed(
        zlib_level,
        [&](std::uint8_t* bytes, std::size_t n) {
          std::size_t got = source(bytes, n);
          if (on_progress && source.Count() - reported >= kPieceSize * 8) {
            on_progress(file, reported = source.Count());
          }
          return got;
        },
        [&](const std::uint8_t* bytes, std::size_t n) { out.Append(bytes, n); });
    if (source.Count() != file.size) throw PackError(file.source + " changed while the setup was built");

    std::uint64_t at = start;
    SourceReader original(file.source);
    bool decodes = StreamDecodesTo(
        [&](std::uint8_t* bytes, std::size_t n) {
          std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(n, out.Size() - at));
          out.ReadAt(at, bytes, count);
          at += count;
          return count;
        },
        std::ref(original));
    if (decodes) return out.Size() - start;
  }
  throw PackError("the setup's decoder refuses zlib's streams of it");
}

// Fills the integrity record over the bytes from `covered_from` on, then the
// PE CheckSum over the whole file, reading the file back in pieces.
void SealSetup(TemporaryFile& out, const Bytes& program, std::uint64_t covered_from) {
  std::optional<IntegrityRecord> record = FindIntegrityRecord(program);
  if (!record) throw PackError("the setup program carries no integrity record (resource 1800)");
  std::size_t field = ReadPeImageInfo(program.data(), std::min(program.size(), kPeHeadSize)).checksum_field;
  PeChecksum sum;
  auto crc = static_cast<std::uint32_t>(crc32(0, nullptr, 0));
  Bytes piece(kPieceSize);
  for (std::uint64_t at = 0; at < out.Size();) {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), out.Size() - at));
    out.ReadAt(at, piece.data(), n);
    sum.Add(piece.data(), n);
    if (at + n > covered_from) {
      std::size_t skip = static_cast<std::size_t>(at < covered_from ? covered_from - at : 0);
      crc = static_cast<std::uint32_t>(crc32(crc, piece.data() + skip, static_cast<uInt>(n - skip)));
    }
    at += n;
  }
  Bytes fields;
  AppendLittleEndian(fields, crc, 4);
  AppendLittleEndian(fields, static_cast<std::uint32_t>(out.Size() - covered_from), 4);
  out.WriteAt(record->at + 4, fields.data(), fields.size());
  sum.AddAt(record->at + 4, fields.data(), fields.size());
  Bytes checksum;
  AppendLittleEndian(checksum, sum.Field(out.Size()), 4);
  out.WriteAt(field, checksum.data(), checksum.size());
}

}  // namespace

Bytes ReadWholeFile(const std::string& path, const std::string& what) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PackError("cannot open " + what + " " + path);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw PackError("cannot read " + what + " " + path);
  return bytes;
}

std::uint64_t BuildSetupFile(const std::string& path, const Manifest& manifest, const Bytes& stub, const Bytes& skin,
                             int level, const FilePacked& on_file, const FileProgress& on_progress) {
  CheckStub(stub, manifest.architecture);
  Bytes program = BrandSetupProgram(stub, manifest);
  // Both are filled in last, over the finished file; until then they count as zero.
  std::size_t field = ReadPeImageInfo(program.data(), std::min(program.size(), kPeHeadSize)).checksum_field;
  std::fill_n(program.begin() + static_cast<std::ptrdiff_t>(field), 4, 0);
  if (std::optional<IntegrityRecord> record = FindIntegrityRecord(program)) {
    std::fill_n(program.begin() + static_cast<std::ptrdiff_t>(record->at + 4), kIntegrityRecordSize - 4, 0);
  }
  std::vector<StreamEncoder> encoders = DefaultEncoders(level);
  TemporaryFile out(path);
  Append(out, program);

  PackageDirectory package;
  package.version.language = manifest.language;
  package.version.patch = manifest.patch ? 1 : 0;
  package.version.major = manifest.major;
  package.version.minor = manifest.minor;
  package.version.check_word = PackageCheckWord(package.version);
  package.product_name = AnsiText(manifest.product_name);
  package.display_icon = AnsiText(manifest.display_icon);

  FileRecord skin_record;
  skin_record.stream_offset = Offset(out.Size(), "the skin archive");
  skin_record.size = static_cast<std::uint32_t>(skin.size());
  package.files.Add(skin_record);
  Append(out, skin);

  for (const ManifestFile& file : manifest.files) {
    FileRecord record;
    record.shortcut_kind = static_cast<std::uint16_t>(file.shortcut);
    record.icon_index = file.icon;
    record.service = file.service ? 1 : 0;
    record.destination = static_cast<std::uint8_t>(file.destination);
    record.stream_offset = Offset(out.Size(), "the stream of " + file.source);
    record.file_time = file.file_time;
    record.size = file.size;
    package.files.Add(record, file.name.c_str(), file.name.size());
    try {
      std::uint64_t packed = 0;
      if (file.size > kWholeFileLimit) {
        packed = PackLargeFile(out, file, level, on_progress);
      } else {
        Bytes data = ReadWholeFile(file.source, "source file");
        if (data.size() != file.size) throw PackError(file.source + " changed while the setup was built");
        Bytes stream = EncodeChecked(data, encoders);
        Append(out, stream);
        packed = stream.size();
      }
      if (on_file) on_file(file, static_cast<std::size_t>(packed));
    } catch (const PackError& error) {
      throw PackError(file.source + ": " + error.what());
    }
  }

  for (const ManifestAssociation& association : manifest.associations) {
    AssociationEntry& entry = package.associations[package.association_count++];
    entry.extension = AnsiText(association.extension);
    entry.program = AnsiText(association.program);
    entry.third = AnsiText(association.text);
    entry.icon_index = association.icon;
  }

  std::size_t directory_size = SerializePackageDirectory(package).size();
  std::size_t padding =
      (kSignatureAlignment - (out.Size() + directory_size) % kSignatureAlignment) % kSignatureAlignment;
  Append(out, Bytes(padding, 0));
  package.header_offset = Offset(out.Size(), "the package directory");
  Append(out, SerializePackageDirectory(package));
  SealSetup(out, program, skin_record.stream_offset);

  out.Finish(0777);
  SetupFile written(out.Path());
  ReadSetupDirectory(written);
  out.RenameTo(path);
  return written.Size();
}
