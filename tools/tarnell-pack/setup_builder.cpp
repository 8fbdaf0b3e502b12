#include "setup_builder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "package/directory_writer.h"
#include "package/pe_image.h"
#include "pack_error.h"
#include "setup_file.h"

namespace {

constexpr std::uint64_t kAddressable = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kSignatureAlignment = 8;

void CheckStub(const Bytes& stub) {
  PeImageInfo info = ReadPeImageInfo(stub.data(), std::min(stub.size(), kPeHeadSize));
  if (!info.is_pe) throw PackError("the stub is not a Windows program image");
  if (info.certificate_offset != 0) {
    throw PackError("the stub is signed; build from the unsigned setup program and sign the finished setup");
  }
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

// Removes the temporary file unless it was handed over.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& beside) : path_(beside + ".partial-XXXXXX") {
    descriptor_ = mkstemp(path_.data());
    if (descriptor_ < 0) throw PackError("cannot create a file beside " + beside + ": " + std::strerror(errno));
  }
  ~TemporaryFile() {
    if (descriptor_ >= 0) close(descriptor_);
    if (!kept_) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = write(descriptor_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw PackError("cannot write " + path_ + ": " + std::strerror(errno));
      done += static_cast<std::size_t>(n);
    }
    mode_t mask = umask(0);
    umask(mask);
    if (fchmod(descriptor_, 0777 & ~mask) != 0 || fsync(descriptor_) != 0 || close(descriptor_) != 0) {
      descriptor_ = -1;
      throw PackError("cannot finish " + path_ + ": " + std::strerror(errno));
    }
    descriptor_ = -1;
  }
  void RenameTo(const std::string& path) {
    if (rename(path_.c_str(), path.c_str()) != 0) {
      throw PackError("cannot rename " + path_ + " to " + path + ": " + std::strerror(errno));
    }
    kept_ = true;
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int descriptor_ = -1;
  bool kept_ = false;
};

}  // namespace

Bytes ReadWholeFile(const std::string& path, const std::string& what) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PackError("cannot open " + what + " " + path);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw PackError("cannot read " + what + " " + path);
  return bytes;
}

Bytes ComposeSetup(const Manifest& manifest, const Bytes& stub, const Bytes& skin,
                   const std::vector<StreamEncoder>& encoders) {
  CheckStub(stub);
  Bytes setup = stub;
  PackageDirectory package;
  package.version.language = manifest.language;
  package.version.patch = manifest.patch ? 1 : 0;
  package.version.major = manifest.major;
  package.version.minor = manifest.minor;
  package.version.check_word = PackageCheckWord(package.version);
  package.product_name = AnsiText(manifest.product_name);
  package.display_icon = AnsiText(manifest.display_icon);

  FileRecord& skin_record = package.Record(1);
  skin_record.stream_offset = Offset(setup.size(), "the skin archive");
  skin_record.size = static_cast<std::uint32_t>(skin.size());
  Append(setup, skin);

  std::size_t number = 1;
  for (const ManifestFile& file : manifest.files) {
    Bytes data = ReadWholeFile(file.source, "source file");
    if (data.size() != file.size) throw PackError(file.source + " changed while the setup was built");
    FileRecord& record = package.Record(++number);
    record.shortcut_kind = static_cast<std::uint16_t>(file.shortcut);
    record.icon_index = file.icon;
    record.service = file.service ? 1 : 0;
    record.destination = static_cast<std::uint8_t>(file.destination);
    record.stream_offset = Offset(setup.size(), "the stream of " + file.source);
    record.file_time = file.file_time;
    record.size = file.size;
    record.name = AnsiText(file.name);
    try {
      Append(setup, EncodeChecked(data, encoders));
    } catch (const PackError& error) {
      throw PackError(file.source + ": " + error.what());
    }
  }
  package.file_count = static_cast<std::uint16_t>(number);

  for (const ManifestAssociation& association : manifest.associations) {
    AssociationEntry& entry = package.associations[package.association_count++];
    entry.extension = AnsiText(association.extension);
    entry.program = AnsiText(association.program);
    entry.third = AnsiText(association.text);
    entry.icon_index = association.icon;
  }

  std::size_t directory_size = SerializePackageDirectory(package).size();
  std::size_t padding = (kSignatureAlignment - (setup.size() + directory_size) % kSignatureAlignment) %
                        kSignatureAlignment;
  setup.resize(setup.size() + padding, 0);
  package.header_offset = Offset(setup.size(), "the package directory");
  Append(setup, SerializePackageDirectory(package));
  return setup;
}

void WriteSetupFile(const std::string& path, const Bytes& bytes) {
  TemporaryFile temporary(path);
  temporary.Write(bytes);
  SetupFile written(temporary.Path());
  ReadSetupDirectory(written);
  temporary.RenameTo(path);
}
