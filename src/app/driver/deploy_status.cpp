#include "app/driver/deploy_status.h"

#include "system/uninstall_registration.h"
#include "system/utf8_text.h"

namespace {

void Add(std::vector<StatusFact>& facts, std::string key, std::string value) {
  facts.push_back({std::move(key), std::move(value), false});
}

void AddFlag(std::vector<StatusFact>& facts, std::string key, bool on) {
  facts.push_back({std::move(key), on ? "yes" : "no", true});
}

void AppendJsonText(std::string& out, const std::string& ansi) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : AnsiToUtf8(ansi.c_str())) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace

std::vector<StatusFact> StatusFacts(const SetupState& state, const SetupView& view) {
  const ProductRecord& package = state.package;
  // A registered product is offered anything but "Install".
  bool registered = view.mode != SetupMode::kInstall;
  std::vector<StatusFact> facts;
  Add(facts, "product", state.product_name.c_str());
  Add(facts, "version", VersionNumberText(package.version).c_str());
  AddFlag(facts, "patch", package.version.patch != 0);
  AddFlag(facts, "installed", registered);
  if (registered) {
    // Without its setup copy the installed version is not known, and the
    // window disables the uninstall button.
    if (view.uninstall_enabled) Add(facts, "installed_version", VersionNumberText(state.installed.version).c_str());
    Add(facts, "program_folder", view.program_folder.c_str());
    if (view.data_folder_row != DataFolderRow::kRemoved) Add(facts, "data_folder", view.data_folder.c_str());
    AddFlag(facts, "start_menu", view.start_menu_shortcuts);
    AddFlag(facts, "desktop", view.desktop_shortcut);
    AddFlag(facts, "all_users", view.all_users);
    AddFlag(facts, "path", view.add_to_path);
    for (std::size_t i = 0; i < package.association_count; ++i) {
      AddFlag(facts, std::string("assoc_") + package.associations[i].extension.c_str(), view.associations[i]);
    }
  }
  Add(facts, "mode", ModeCaption(view.mode));
  AddFlag(facts, "install_enabled", view.install_enabled);
  AddFlag(facts, "uninstall_enabled", view.uninstall_enabled);
  return facts;
}

std::string StatusLines(const std::vector<StatusFact>& facts) {
  std::string out;
  for (const StatusFact& fact : facts) out += fact.key + ": " + fact.value + "\n";
  return out;
}

std::string StatusJson(const std::vector<StatusFact>& facts) {
  std::string out = "{";
  for (const StatusFact& fact : facts) {
    if (out.size() > 1) out += ',';
    AppendJsonText(out, fact.key);
    out += ':';
    if (fact.flag) {
      out += fact.value == "yes" ? "true" : "false";
    } else {
      AppendJsonText(out, fact.value);
    }
  }
  return out + "}\n";
}
