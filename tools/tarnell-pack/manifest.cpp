#include "manifest.h"

#include <sys/stat.h>

#include <toml++/toml.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <regex>

#include "ansi_text.h"
#include "file_time.h"
#include "pack_error.h"
#include "package/code_extensions.h"
#include "package/file_name_rules.h"
#include "package/path_clashes.h"
#include "source_tree.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kShownValueLength = 60;

// A value as an error quotes it: a long one is cut, so that the reason stays on the line.
std::string Shown(const std::string& value) {
  if (value.size() <= kShownValueLength + 3) return "\"" + value + "\"";
  std::size_t cut = kShownValueLength;
  while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;  // not inside a UTF-8 character
  return "\"" + value.substr(0, cut) + "...\"";
}

class ManifestReader {
 public:
  explicit ManifestReader(const std::string& path) : path_(path), folder_(fs::path(path).parent_path()) {}

  Manifest Read() {
    CheckReadable();
    source_date_ = SourceDateEpoch();
    toml::table root;
    try {
      root = toml::parse_file(path_);
    } catch (const toml::parse_error& error) {
      throw PackError(path_ + ":" + std::to_string(error.source().begin.line) + ": " +
                      std::string(error.description()));
    }
    CheckKeys(root, "", {"product", "skin", "folder", "file", "association"});
    Manifest manifest;
    ReadProduct(*Table(root, "product", "product", true), manifest);
    if (const toml::table* skin = Table(root, "skin", "skin", false)) ReadSkin(*skin, manifest);
    ReadFiles(root, manifest);
    ReadAssociations(root, manifest);
    CheckDisplayIcon(root, manifest);
    return manifest;
  }

 private:
  // The parser says only "line 0" for a file it cannot read.
  void CheckReadable() const {
    std::error_code error;
    if (fs::is_directory(path_, error)) throw PackError(path_ + ": is a folder, not a manifest file");
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (file == nullptr) throw PackError(path_ + ": cannot open the manifest: " + std::strerror(errno));
    std::fclose(file);
  }

  [[noreturn]] void Fail(const toml::node& at, const std::string& field, const std::string& reason) const {
    throw PackError(path_ + ":" + std::to_string(at.source().begin.line) + ": " + field + ": " + reason);
  }

  void CheckKeys(const toml::table& table, const std::string& prefix, std::initializer_list<const char*> known) const {
    for (const auto& [key, value] : table) {
      bool found = false;
      for (const char* name : known) found = found || key.str() == name;
      if (!found) Fail(value, prefix + std::string(key.str()), "unknown key");
    }
  }

  const toml::table* Table(const toml::table& parent, const char* key, const std::string& field, bool required) const {
    const toml::node* node = parent.get(key);
    if (node == nullptr) {
      if (required) Fail(parent, field, "missing");
      return nullptr;
    }
    if (!node->is_table()) Fail(*node, field, "must be a table");
    return node->as_table();
  }

  const toml::node* Value(const toml::table& table, const char* key, const std::string& field, bool required) const {
    const toml::node* node = table.get(key);
    if (node == nullptr && required) Fail(table, field, "missing");
    return node;
  }

  // The UTF-8 text of a string field, or `fallback` when it is absent.
  std::optional<std::string> String(const toml::table& table, const char* key, const std::string& field,
                                    bool required) const {
    const toml::node* node = Value(table, key, field, required);
    if (node == nullptr) return std::nullopt;
    if (!node->is_string()) Fail(*node, field, "must be a text in double quotes");
    return node->value<std::string>();
  }

  // A text for the setup: Windows-1252, at most 512 characters.
  std::string Ansi(const toml::table& table, const char* key, const std::string& field, const std::string& utf8) const {
    std::optional<std::string> ansi = Utf8ToAnsi(utf8);
    const toml::node& at = table.get(key) ? *table.get(key) : static_cast<const toml::node&>(table);
    if (!ansi) Fail(at, field, "\"" + utf8 + "\" holds a character that Windows-1252 cannot store");
    if (ansi->size() > Text::kMaxLength) Fail(at, field, "is longer than 512 characters");
    return *ansi;
  }

  bool Bool(const toml::table& table, const char* key, const std::string& field) const {
    const toml::node* node = Value(table, key, field, false);
    if (node == nullptr) return false;
    if (!node->is_boolean()) Fail(*node, field, "must be true or false");
    return *node->value<bool>();
  }

  std::int64_t Integer(const toml::table& table, const char* key, const std::string& field, std::int64_t max) const {
    const toml::node* node = Value(table, key, field, false);
    if (node == nullptr) return 0;
    if (!node->is_integer()) Fail(*node, field, "must be a whole number");
    std::int64_t value = *node->value<std::int64_t>();
    if (value < 0 || value > max) Fail(*node, field, "must lie between 0 and " + std::to_string(max));
    return value;
  }

  // One of `names`; returns its index. Absent: the first.
  std::size_t Choice(const toml::table& table, const char* key, const std::string& field,
                     std::initializer_list<const char*> names) const {
    std::optional<std::string> text = String(table, key, field, false);
    if (!text) return 0;
    std::size_t index = 0;
    std::string listed;
    for (const char* name : names) {
      if (*text == name) return index;
      listed += (index++ == 0 ? "\"" : ", \"") + std::string(name) + "\"";
    }
    Fail(*table.get(key), field, "\"" + *text + "\" is none of " + listed);
  }

  std::string PathOf(const std::string& relative) const { return (folder_ / relative).lexically_normal().string(); }

  void ReadProduct(const toml::table& product, Manifest& manifest) const {
    CheckKeys(product, "product.",
              {"name", "version", "language", "patch", "display_icon", "architecture", "setup_icon", "copyright"});
    std::string name_utf8 = *String(product, "name", "product.name", true);
    manifest.product_name = Ansi(product, "name", "product.name", name_utf8);
    const toml::node& name_node = *product.get("name");
    if (std::optional<std::string> fault = WindowsFileNameFault(manifest.product_name)) {
      Fail(name_node, "product.name", "\"" + name_utf8 + "\" " + *fault + " (it names the setup copy file)");
    }
    if (manifest.product_name.size() > kMaxProductNameLength) {
      Fail(name_node, "product.name", "is longer than " + std::to_string(kMaxProductNameLength) + " characters");
    }

    std::string version = *String(product, "version", "product.version", true);
    std::smatch parts;
    static const std::regex kVersion("([0-9]{1,3})\\.([0-9]{1,5})");
    if (!std::regex_match(version, parts, kVersion) || std::stoi(parts[1]) > 255 || std::stoi(parts[2]) > 65535) {
      Fail(*product.get("version"), "product.version",
           "\"" + version + "\" is not major.minor with major 0 to 255 and minor 0 to 65535");
    }
    manifest.major = static_cast<std::uint8_t>(std::stoi(parts[1]));
    manifest.minor = static_cast<std::uint16_t>(std::stoi(parts[2]));
    manifest.language =
        static_cast<std::uint8_t>(Choice(product, "language", "product.language", {"english", "german"}));
    manifest.patch = Bool(product, "patch", "product.patch");
    manifest.architecture =
        static_cast<Architecture>(Choice(product, "architecture", "product.architecture", {"x86", "x64"}));
    if (std::optional<std::string> icon = String(product, "setup_icon", "product.setup_icon", false)) {
      const toml::node& at = *product.get("setup_icon");
      manifest.setup_icon = PathOf(*icon);
      manifest.setup_icon_field =
          path_ + ":" + std::to_string(at.source().begin.line) + ": product.setup_icon: " + Shown(*icon);
      std::error_code error;  // a name too long for the system is no file either
      if (!fs::is_regular_file(*manifest.setup_icon, error)) {
        Fail(at, "product.setup_icon", "no file " + Shown(*icon));
      }
    }
    manifest.copyright = String(product, "copyright", "product.copyright", false).value_or("");
    if (std::optional<std::string> icon = String(product, "display_icon", "product.display_icon", false)) {
      manifest.display_icon = Ansi(product, "display_icon", "product.display_icon", *icon);
    }
  }

  void ReadSkin(const toml::table& skin, Manifest& manifest) const {
    CheckKeys(skin, "skin.", {"folder", "header"});
    if (std::optional<std::string> folder = String(skin, "folder", "skin.folder", false)) {
      manifest.skin_folder = PathOf(*folder);
      if (!fs::is_directory(*manifest.skin_folder)) Fail(*skin.get("folder"), "skin.folder", "no folder " + *folder);
    }
    if (std::optional<std::string> header = String(skin, "header", "skin.header", false)) {
      manifest.header_picture = PathOf(*header);
      if (!fs::is_regular_file(*manifest.header_picture)) {
        Fail(*skin.get("header"), "skin.header", "no file " + *header);
      }
    }
  }

  const toml::array* ArrayOfTables(const toml::table& root, const char* key) const {
    const toml::node* node = root.get(key);
    if (node == nullptr) return nullptr;
    const toml::array* array = node->as_array();
    if (array == nullptr || !array->is_array_of_tables()) {
      Fail(*node, key, std::string("must be written as [[") + key + "]] tables");
    }
    return array;
  }

  void ReadFiles(const toml::table& root, Manifest& manifest) const {
    const toml::array* folders = ArrayOfTables(root, "folder");
    const toml::array* files = ArrayOfTables(root, "file");
    if ((files == nullptr || files->empty()) && (folders == nullptr || folders->empty())) {
      Fail(root, "file", "the manifest names no product file");
    }
    // Where each file of a folder tree came from, so that a [[file]] can name it.
    std::map<std::string, std::size_t> tree_files;
    for (std::size_t i = 0; folders != nullptr && i < folders->size(); ++i) {
      ReadFolder(*folders->get(i)->as_table(), "folder[" + std::to_string(i + 1) + "].", manifest, tree_files);
    }
    for (std::size_t i = 0; files != nullptr && i < files->size(); ++i) {
      const toml::table& table = *files->get(i)->as_table();
      std::string prefix = "file[" + std::to_string(i + 1) + "].";
      ManifestFile file = ReadFile(table, prefix);
      std::error_code error;
      auto in_tree = tree_files.find(fs::weakly_canonical(file.source, error).string());
      if (in_tree != tree_files.end() && table.get("name") == nullptr) {
        // The file of a tree takes what the entry gives it, its path stays.
        ManifestFile& held = manifest.files[in_tree->second];
        if (table.get("destination") == nullptr) file.destination = held.destination;
        file.name = held.name;
        held = file;
        entry_files_.push_back(SIZE_MAX);
        continue;
      }
      for (std::size_t j = 0; j < i; ++j) CheckTwoFiles(table, prefix, file, j, manifest);
      entry_files_.push_back(manifest.files.size());
      manifest.files.push_back(file);
    }
    CheckNamesTogether(root, files, manifest);
  }

  // file[i] against the earlier file[j + 1], named in the lines as the
  // publisher wrote them.
  void CheckTwoFiles(const toml::table& table, const std::string& prefix, const ManifestFile& added, std::size_t j,
                     const Manifest& manifest) const {
    if (entry_files_[j] == SIZE_MAX) return;  // file[j + 1] named a file of a tree
    const ManifestFile& earlier = manifest.files[entry_files_[j]];
    const toml::node& at = table.get("name") ? *table.get("name") : static_cast<const toml::node&>(table);
    if (SameWindowsFileName(earlier.name, added.name)) {
      Fail(at, prefix + "name",
           "\"" + AnsiToUtf8(added.name) + "\" is the name of file[" + std::to_string(j + 1) +
               "] as well (Windows ignores case and may give a long name that short name)");
    }
    if (added.service && earlier.service && SameWindowsFileName(ServiceName(added.name), ServiceName(earlier.name))) {
      Fail(*table.get("service"), prefix + "service",
           "its service name \"" + AnsiToUtf8(ServiceName(added.name)) + "\" is that of file[" + std::to_string(j + 1) +
               "] (the name up to its first dot)");
    }
  }

  void ReadFolder(const toml::table& table, const std::string& prefix, Manifest& manifest,
                  std::map<std::string, std::size_t>& tree_files) const {
    CheckKeys(table, prefix, {"source", "destination", "exclude", "follow_links"});
    std::string source = *String(table, "source", prefix + "source", true);
    const toml::node& source_node = *table.get("source");
    std::string root = PathOf(source);
    if (!fs::is_directory(root)) Fail(source_node, prefix + "source", "no folder " + source);
    auto destination = static_cast<Destination>(
        Choice(table, "destination", prefix + "destination", {"program", "data", "data-untouched"}));
    std::vector<std::string> exclude;
    if (const toml::node* patterns = table.get("exclude")) {
      const toml::array* array = patterns->as_array();
      if (array == nullptr) Fail(*patterns, prefix + "exclude", "must be a list of patterns, such as [\"*.pdb\"]");
      for (const toml::node& pattern : *array) {
        if (!pattern.is_string()) Fail(pattern, prefix + "exclude", "must be a list of patterns, such as [\"*.pdb\"]");
        exclude.push_back(pattern.as_string()->get());
      }
    }
    bool follow_links = Bool(table, "follow_links", prefix + "follow_links");
    std::vector<TreeFile> tree;
    try {
      tree = ListSourceTree(root, exclude, follow_links);
    } catch (const PackError& error) {
      Fail(source_node, prefix + "source", error.what());
    }
    for (const TreeFile& entry : tree) {
      ManifestFile file;
      file.source = entry.path;
      file.destination = destination;
      std::string name_utf8 = entry.relative;
      std::optional<std::string> name = Utf8ToAnsi(name_utf8);
      if (!name) Fail(source_node, prefix + "source", "\"" + name_utf8 + "\" has a character Windows-1252 lacks");
      std::replace(name->begin(), name->end(), '/', '\\');
      file.name = *name;
      if (const char* fault = RelativePathFault(file.name.c_str())) {
        Fail(source_node, prefix + "source", "\"" + name_utf8 + "\" " + fault);
      }
      struct stat status {};
      if (stat(file.source.c_str(), &status) != 0) Fail(source_node, prefix + "source", "cannot read " + name_utf8);
      if (static_cast<std::uint64_t>(status.st_size) > std::numeric_limits<std::uint32_t>::max()) {
        Fail(source_node, prefix + "source",
             name_utf8 + " is larger than 4 GiB - 1 bytes, which the package cannot record");
      }
      file.size = static_cast<std::uint32_t>(status.st_size);
      if (source_date_) {
        file.file_time = *source_date_;
      } else {
        std::optional<std::uint64_t> modified = FileTimeFromUnix(status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
        if (!modified) Fail(source_node, prefix + "source", name_utf8 + " was last changed before 1601");
        file.file_time = *modified;
      }
      std::error_code error;
      tree_files[fs::weakly_canonical(file.source, error).string()] = manifest.files.size();
      manifest.files.push_back(file);
    }
  }

  // Paths that meet in one file or folder, and services of one name. Sorted,
  // not compared pair by pair: a tree may hold a hundred thousand files.
  void CheckNamesTogether(const toml::table& root, const toml::array* files, const Manifest& manifest) const {
    const toml::node& at = files != nullptr && !files->empty() ? *files->get(0) : static_cast<const toml::node&>(root);
    FileList list;
    list.Add(FileRecord{}, "");
    for (const ManifestFile& file : manifest.files) list.Add(FileRecord{}, file.name.c_str());
    PathClash clash = FindPathClash(list);
    if (clash.first != 0) {
      const std::string first = AnsiToUtf8(manifest.files[clash.first - 2].name.substr(0, clash.first_length));
      const std::string second = AnsiToUtf8(manifest.files[clash.second - 2].name.substr(0, clash.second_length));
      const std::string why = clash.short_name                    ? " (Windows may give a long name that short name)"
                              : clash.kind == ClashKind::kOneFile ? " (Windows ignores case)"
                                                                  : "";
      Fail(at, "file",
           clash.kind == ClashKind::kFileAndFolder
               ? "\"" + first + "\" is a file and the folder of \"" + second + "\"" + why
           : clash.kind == ClashKind::kOneFolder ? "\"" + first + "\" and \"" + second + "\" name one folder" + why
                                                 : "\"" + second + "\" and \"" + first + "\" name one file" + why);
    }
    std::vector<const ManifestFile*> services;
    for (const ManifestFile& file : manifest.files) {
      if (!file.service) continue;
      for (const ManifestFile* earlier : services) {
        if (SameWindowsFileName(ServiceName(file.name), ServiceName(earlier->name))) {
          Fail(at, "file",
               "the service name \"" + AnsiToUtf8(ServiceName(file.name)) + "\" of \"" + AnsiToUtf8(file.name) +
                   "\" is that of \"" + AnsiToUtf8(earlier->name) + "\" (the name up to its first dot)");
        }
      }
      services.push_back(&file);
    }
  }

  // Services are named after the file name up to its first dot.
  static std::string ServiceName(const std::string& name) { return name.substr(0, name.find('.')); }

  ManifestFile ReadFile(const toml::table& table, const std::string& prefix) const {
    CheckKeys(table, prefix, {"source", "name", "destination", "shortcut", "icon", "service", "time"});
    ManifestFile file;
    std::string source = *String(table, "source", prefix + "source", true);
    const toml::node& source_node = *table.get("source");
    file.source = PathOf(source);
    struct stat status {};
    if (stat(file.source.c_str(), &status) != 0) Fail(source_node, prefix + "source", "cannot find " + source);
    if (!S_ISREG(status.st_mode)) Fail(source_node, prefix + "source", source + " is not a file");
    if (static_cast<std::uint64_t>(status.st_size) > std::numeric_limits<std::uint32_t>::max()) {
      Fail(source_node, prefix + "source", source + " is larger than 4 GiB - 1 bytes, which the package cannot record");
    }
    file.size = static_cast<std::uint32_t>(status.st_size);

    std::string name_utf8 =
        String(table, "name", prefix + "name", false).value_or(fs::path(source).filename().string());
    file.name = Ansi(table, "name", prefix + "name", name_utf8);
    if (std::optional<std::string> fault = WindowsFileNameFault(file.name)) {
      const toml::node& at = table.get("name") ? *table.get("name") : source_node;
      Fail(at, prefix + "name", "\"" + name_utf8 + "\" " + *fault);
    }

    file.destination = static_cast<Destination>(
        Choice(table, "destination", prefix + "destination", {"program", "data", "data-untouched"}));
    file.shortcut = static_cast<ShortcutKind>(
        Choice(table, "shortcut", prefix + "shortcut", {"none", "start-menu", "start-menu+desktop"}));
    file.icon = static_cast<std::uint8_t>(Integer(table, "icon", prefix + "icon", 255));
    file.service = Bool(table, "service", prefix + "service");
    if (file.service && file.destination == Destination::kDataFolderUntouched) {
      Fail(*table.get("service"), prefix + "service", "a file the install does not write cannot be a service");
    }
    // Users may put files in the data folder first; a service runs as the system.
    if (file.service && file.destination != Destination::kProgramFolder) {
      Fail(*table.get("service"), prefix + "service", "a service must be installed in the program folder");
    }
    if (file.service && ServiceName(file.name).empty()) {
      Fail(*table.get("service"), prefix + "service", "a service needs a name before the first dot");
    }

    if (const toml::node* time = Value(table, "time", prefix + "time", false)) {
      file.file_time = FileTime(*time, prefix + "time");
    } else if (source_date_) {
      file.file_time = *source_date_;
    } else {
      std::optional<std::uint64_t> modified = FileTimeFromUnix(status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
      if (!modified) Fail(source_node, prefix + "time", source + " was last changed before 1601");
      file.file_time = *modified;
    }
    return file;
  }

  std::uint64_t FileTime(const toml::node& node, const std::string& field) const {
    const toml::date_time* time = node.as_date_time() ? &node.as_date_time()->get() : nullptr;
    if (time == nullptr || !time->offset) {
      Fail(node, field, "must be a date and time with its offset, such as 2026-01-02T03:04:05Z");
    }
    std::tm parts{};
    parts.tm_year = time->date.year - 1900;
    parts.tm_mon = time->date.month - 1;
    parts.tm_mday = time->date.day;
    parts.tm_hour = time->time.hour;
    parts.tm_min = time->time.minute;
    parts.tm_sec = time->time.second;
    std::int64_t seconds = static_cast<std::int64_t>(timegm(&parts)) - std::int64_t{time->offset->minutes} * 60;
    std::optional<std::uint64_t> file_time = FileTimeFromUnix(seconds, time->time.nanosecond);
    if (!file_time) Fail(node, field, "lies before 1601");
    return *file_time;
  }

  void ReadAssociations(const toml::table& root, Manifest& manifest) const {
    const toml::array* associations = ArrayOfTables(root, "association");
    if (associations == nullptr) return;
    if (associations->size() > kMaxAssociations) {
      Fail(*associations->get(kMaxAssociations), "association",
           "more than " + std::to_string(kMaxAssociations) + " file associations");
    }
    for (std::size_t i = 0; i < associations->size(); ++i) {
      const toml::table& table = *associations->get(i)->as_table();
      std::string prefix = "association[" + std::to_string(i + 1) + "].";
      CheckKeys(table, prefix, {"extension", "program", "text", "icon"});
      ManifestAssociation association;
      std::string extension = *String(table, "extension", prefix + "extension", true);
      association.extension = Ansi(table, "extension", prefix + "extension", extension);
      if (std::optional<std::string> fault = WindowsFileNameFault(association.extension)) {
        Fail(*table.get("extension"), prefix + "extension", "\"" + extension + "\" " + *fault);
      }
      if (association.extension.find_first_of(". ") != std::string::npos) {
        Fail(*table.get("extension"), prefix + "extension",
             "\"" + extension + "\" must be given without dots or blanks");
      }
      if (RunsCodeWhenOpened(association.extension.c_str())) {
        Fail(*table.get("extension"), prefix + "extension",
             "\"" + extension + "\" files run as code when opened; a product may not take them over");
      }
      for (std::size_t j = 0; j < i; ++j) {
        if (SameWindowsFileName(manifest.associations[j].extension, association.extension)) {
          Fail(*table.get("extension"), prefix + "extension",
               "\"" + extension + "\" is associated in association[" + std::to_string(j + 1) + "] already");
        }
      }
      std::string program = *String(table, "program", prefix + "program", true);
      association.program = Ansi(table, "program", prefix + "program", program);
      if (!NamesProgramFile(manifest, association.program)) {
        Fail(*table.get("program"), prefix + "program",
             "\"" + program + "\" is not the name of a product file in the program folder");
      }
      association.text =
          Ansi(table, "text", prefix + "text", String(table, "text", prefix + "text", false).value_or(""));
      association.icon = static_cast<std::uint16_t>(Integer(table, "icon", prefix + "icon", 65535));
      manifest.associations.push_back(association);
    }
  }

  static bool NamesProgramFile(const Manifest& manifest, const std::string& name) {
    for (const ManifestFile& file : manifest.files) {
      if (file.destination == Destination::kProgramFolder && SameWindowsFileName(file.name, name)) return true;
    }
    return false;
  }

  // "File.exe,N" naming a program file or the setup copy; by default the
  // first program file's first icon.
  void CheckDisplayIcon(const toml::table& root, Manifest& manifest) const {
    const toml::node* node = root.at_path("product.display_icon").node();
    if (node == nullptr) {
      for (const ManifestFile& file : manifest.files) {
        if (file.destination == Destination::kProgramFolder) {
          manifest.display_icon = file.name + ",0";
          return;
        }
      }
      manifest.display_icon = manifest.product_name + "_Setup.exe,0";
      return;
    }
    static const std::regex kIcon("(.+),(-?[0-9]{1,5})");
    std::smatch parts;
    if (!std::regex_match(manifest.display_icon, parts, kIcon)) {
      Fail(*node, "product.display_icon", "must be a file name, a comma and an icon index, such as \"Hello.exe,0\"");
    }
    std::string file = parts[1];
    if (!NamesProgramFile(manifest, file) && !SameWindowsFileName(file, manifest.product_name + "_Setup.exe")) {
      Fail(*node, "product.display_icon",
           "\"" + AnsiToUtf8(file) + "\" is neither a product file in the program folder nor the setup copy");
    }
  }

  // SOURCE_DATE_EPOCH, the reproducible-builds convention: seconds since
  // 1970 that stand for every file's time, so that a fresh checkout (whose
  // files are as old as the checkout) builds the same setup.
  static std::optional<std::uint64_t> SourceDateEpoch() {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (text == nullptr || *text == '\0') return std::nullopt;
    static const std::regex kSeconds("[0-9]{1,12}");
    if (!std::regex_match(text, kSeconds)) {
      throw PackError(std::string("SOURCE_DATE_EPOCH: \"") + text + "\" is not a number of seconds since 1970");
    }
    return FileTimeFromUnix(std::stoll(text), 0);
  }

  std::string path_;
  fs::path folder_;
  std::optional<std::uint64_t> source_date_;
  // The manifest file of each [[file]] entry that is no file of a tree.
  mutable std::vector<std::size_t> entry_files_;
};

}  // namespace

Manifest LoadManifest(const std::string& path) { return ManifestReader(path).Read(); }
