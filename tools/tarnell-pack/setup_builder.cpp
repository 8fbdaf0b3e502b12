#include "setup_builder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "abort_reason.h"
#include "integrity_record.h"
#include "pack_error.h"
#include "package/directory_writer.h"
#include "package/package_loader.h"
#include "package/pe_checksum.h"
#include "package/pe_image.h"
#include "setup_branding.h"
#include "setup_file.h"
#include "stub_check.h"
#include "temporary_file.h"

namespace {

constexpr std::uint64_t kAddressable = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kSignatureAlignment = 8;

// The CheckSum field over the whole finished setup, by which the setup and
// `verify` find a damaged payload.
void StoreChecksum(Bytes& setup) {
  std::size_t field = ReadPeImageInfo(setup.data(), std::min(setup.size(), kPeHeadSize)).checksum_field;
  std::uint32_t sum = PeFileChecksum(setup.data(), setup.size(), field);
  for (std::size_t i = 0; i < 4; ++i) setup[field + i] = static_cast<std::uint8_t>(sum >> (8 * i));
}

std::uint32_t Offset(std::uint64_t at, const std::string& what) {
  if (at > kAddressable) throw PackError(what + " would start beyond 4 GiB, which the package cannot address");
  return static_cast<std::uint32_t>(at);
}

void Append(Bytes& out, const Bytes& part) { out.insert(out.end(), part.begin(), part.end()); }

Text AnsiText(const std::string& text) {
  Text result;
  result.Assign(text.c_str());
  return result;
}

}  // namespace

Bytes ReadWholeFile(const std::string& path, const std::string& what) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PackError("cannot open " + what + " " + path);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw PackError("cannot read " + what + " " + path);
  return bytes;
}

Bytes ComposeSetup(const Manifest& manifest, const Bytes& stub, const Bytes& skin,
                   const std::vector<StreamEncoder>& encoders, const FilePacked& on_file) {
  CheckStub(stub, manifest.architecture);
  Bytes setup = BrandSetupProgram(stub, manifest);
  PackageDirectory package;
  package.version.language = manifest.language;
  package.version.patch = manifest.patch ? 1 : 0;
  package.version.major = manifest.major;
  package.version.minor = manifest.minor;
  package.version.check_word = PackageCheckWord(package.version);
  package.product_name = AnsiText(manifest.product_name);
  package.display_icon = AnsiText(manifest.display_icon);

  FileRecord skin_record;
  skin_record.stream_offset = Offset(setup.size(), "the skin archive");
  skin_record.size = static_cast<std::uint32_t>(skin.size());
  package.files.Add(skin_record);
  Append(setup, skin);

  for (const ManifestFile& file : manifest.files) {
    Bytes data = ReadWholeFile(file.source, "source file");
    if (data.size() != file.size) throw PackError(file.source + " changed while the setup was built");
    FileRecord record;
    record.shortcut_kind = static_cast<std::uint16_t>(file.shortcut);
    record.icon_index = file.icon;
    record.service = file.service ? 1 : 0;
    record.destination = static_cast<std::uint8_t>(file.destination);
    record.stream_offset = Offset(setup.size(), "the stream of " + file.source);
    record.file_time = file.file_time;
    record.size = file.size;
    package.files.Add(record, file.name.c_str(), file.name.size());
    try {
      Bytes stream = EncodeChecked(data, encoders);
      if (on_file) on_file(file, stream.size());
      Append(setup, stream);
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
      (kSignatureAlignment - (setup.size() + directory_size) % kSignatureAlignment) % kSignatureAlignment;
  setup.resize(setup.size() + padding, 0);
  package.header_offset = Offset(setup.size(), "the package directory");
  Append(setup, SerializePackageDirectory(package));
  FillIntegrityRecord(setup, skin_record.stream_offset);
  StoreChecksum(setup);
  return setup;
}

void WriteSetupFile(const std::string& path, const Bytes& bytes) {
  TemporaryFile temporary(path);
  temporary.Append(bytes.data(), bytes.size());
  temporary.Finish(0777);
  SetupFile written(temporary.Path());
  ReadSetupDirectory(written);
  temporary.RenameTo(path);
}
