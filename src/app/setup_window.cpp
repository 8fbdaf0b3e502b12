#include "app/setup_window.h"

#include "app/install_sequence.h"
#include "app/setup_options.h"
#include "app/uninstall_sequence.h"
#include "graphics/graphics_resources.h"
#include "graphics/skin_archive.h"
#include "layouts/setup_window_layout.h"
#include "ui/widgets/dialog_window.h"
#include "ui/widgets/layout_table.h"
#include "ui/widgets/menu_items.h"
#include "ui/widgets/toolkit.h"

using namespace setup_id;

namespace {

// The widgets by id; an id the window does not hold is no widget to change.
bool IsBoxChecked(Container& root, std::uint16_t id) {
  Widget* widget = root.FindById(id);
  return widget != nullptr && widget->GetValue() == 1;
}

void SetBoxChecked(Container& root, std::uint16_t id, bool checked) {
  if (Widget* widget = root.FindById(id)) widget->SetChecked(checked ? 1 : 0);
}

void EnableWidget(Container& root, std::uint16_t id, bool enabled) {
  if (Widget* widget = root.FindById(id)) widget->Enable(enabled);
}

void SetWidgetText(Container& root, std::uint16_t id, const char* text) {
  if (Widget* widget = root.FindById(id)) widget->SetText(text);
}

const char* WidgetText(Container& root, std::uint16_t id) {
  Widget* widget = root.FindById(id);
  const char* text = widget != nullptr ? widget->GetText() : nullptr;
  return text != nullptr ? text : "";
}

}  // namespace

SetupWindow::SetupWindow(SetupState& state)
    : Container(kSetupLayout[0], nullptr),
      state_(state),
      own_log_(std::make_unique<LogView>(kSetupLayout[kSetupLogViewEntry], this)),
      log_(own_log_.get()) {
  enabled_ = true;
}

// The windows go before the widgets they show.
SetupWindow::~SetupWindow() {
  browser_.reset();
  frame_.reset();
}

void SetupWindow::Start(const char* package_path) {
  SetupView view = StartSetup(state_, package_path);
  const FileRecord& skin = state_.package.SkinRecord();
  Skin().Open(package_path, skin.stream_offset, skin.size);
  LoadToolkitSkin();
  Build(state_.package.association_count, view.data_folder_row != DataFolderRow::kRemoved);
  ShowView(view);
}

void SetupWindow::Build(int associations, bool data_folder_row) {
  table_ = SetupLayoutFor(associations, data_folder_row);
  height_ = table_[0].height;
  frame_ =
      std::make_unique<FrameWindow>(*this, table_.data(), static_cast<int>(table_.size()), WindowKind::kApplication);
  CentreOnScreen(*frame_);
  browser_ = std::make_unique<FolderBrowser>();
  title_.Assign(state_.product_name.c_str());
  title_.Append(" Setup");
  Widget* title_bar = FindFirstOfKind(*this, kTitleBarKind);
  if (title_bar != nullptr) title_bar->SetText(title_.c_str());
}

std::unique_ptr<Widget> SetupWindow::ProvideWidget(const LayoutEntry& entry) {
  if (entry.id != kLogView || own_log_ == nullptr) return nullptr;
  // The view was made before the table was fitted to the package.
  own_log_->Shift(entry.x - own_log_->X(), entry.y - own_log_->Y());
  own_log_->SetContextMenu(kSetupLogMenu);
  return std::move(own_log_);
}

void SetupWindow::ShowView(const SetupView& view) {
  SetWidgetText(*this, kInstall, ModeCaption(view.mode));
  EnableWidget(*this, kInstall, view.install_enabled);
  EnableWidget(*this, kUninstall, view.uninstall_enabled);
  SetBoxChecked(*this, kStartMenuShortcuts, view.start_menu_shortcuts);
  SetBoxChecked(*this, kDesktopShortcut, view.desktop_shortcut);
  SetBoxChecked(*this, kAllUsers, view.all_users);
  SetBoxChecked(*this, kAddToPath, view.add_to_path);
  SetWidgetText(*this, kProgramFolder, view.program_folder.c_str());
  SetWidgetText(*this, kDataFolder, view.data_folder.c_str());
  bool editable = view.data_folder_row == DataFolderRow::kShown;
  EnableWidget(*this, kDataFolder, editable);
  EnableWidget(*this, kDataFolderSearch, editable);
  const ProductRecord& package = state_.package;
  for (std::size_t i = 0; i < package.association_count; ++i) {
    auto id = static_cast<std::uint16_t>(kFirstAssociation + i);
    SetWidgetText(*this, id, package.associations[i].extension.c_str());
    SetBoxChecked(*this, id, view.associations[i]);
  }
}

bool SetupWindow::Show() { return frame_ != nullptr && frame_->ShowMain(title_.c_str()); }

void SetupWindow::Close() { PostQuitMessage(0); }

void SetupWindow::Notify(unsigned code, std::uint16_t id) {
  switch (code) {
    case TextView::kClearCommand: log_->Clear(); break;
    case kClose:
    case 1715:  // the cancel code
      Close();
      break;
    case FolderBrowser::kId: TakeChosenFolder(id); break;
    case kAllUsers: SwapDataFolder(); break;
    case kInstall: Install(); break;
    case kUninstall: Uninstall(); break;
    case kProgramFolderSearch: OpenFolderBrowser(kProgramFolderSearch, kProgramFolder); break;
    case kDataFolderSearch: OpenFolderBrowser(kDataFolderSearch, kDataFolder); break;
    default: break;
  }
}

bool SetupWindow::ReadOptionsFromWindow() {
  ProductRecord& package = state_.package;
  Text program;
  Text data;
  if (!ReadFieldText(kProgramFolder, program)) return false;
  if (package.has_data_folder && !ReadFieldText(kDataFolder, data)) return false;
  SetupChoices choices;
  choices.all_users = IsBoxChecked(*this, kAllUsers);
  choices.start_menu_shortcuts = IsBoxChecked(*this, kStartMenuShortcuts);
  choices.desktop_shortcut = IsBoxChecked(*this, kDesktopShortcut);
  choices.add_to_path = IsBoxChecked(*this, kAddToPath);
  choices.keep_data = IsBoxChecked(*this, kKeepData);
  for (std::size_t i = 0; i < package.association_count; ++i) {
    choices.associations[i] = IsBoxChecked(*this, static_cast<std::uint16_t>(kFirstAssociation + i));
  }
  choices.program_folder = program.c_str();
  choices.data_folder = data.c_str();
  return ReadOptions(choices, package);
}

void SetupWindow::Install() {
  // A folder the field refused is not silently replaced by the one the
  // record held: nothing is installed until the user has fixed the field.
  if (!ReadOptionsFromWindow()) return;
  if (!RunInstall(state_, state_.package_path.c_str())) return;
  if (state_.package.uninstall_batch_pending) {
    EnableWidget(*this, kInstall, false);
    EnableWidget(*this, kUninstall, false);
  } else {
    SetWidgetText(*this, kInstall, ModeCaption(SetupMode::kRepair));
    EnableWidget(*this, kUninstall, true);
  }
}

void SetupWindow::Uninstall() {
  if (!RunUninstall(state_, IsBoxChecked(*this, kKeepData))) return;
  EnableWidget(*this, kUninstall, false);
  SetWidgetText(*this, kInstall, ModeCaption(SetupMode::kInstall));
  if (state_.package.uninstall_batch_pending) EnableWidget(*this, kInstall, false);
}

void SetupWindow::SwapDataFolder() {
  Text data(WidgetText(*this, kDataFolder));
  if (SwapDefaultDataFolder(IsBoxChecked(*this, kAllUsers), data)) SetWidgetText(*this, kDataFolder, data.c_str());
}

void SetupWindow::OpenFolderBrowser(std::uint16_t search_button, std::uint16_t field) {
  if (browser_ != nullptr) browser_->Open(*this, search_button, WidgetText(*this, field));
}

void SetupWindow::TakeChosenFolder(std::uint16_t search_button) {
  if (browser_ == nullptr) return;
  SetWidgetText(*this, search_button == kProgramFolderSearch ? kProgramFolder : kDataFolder,
                browser_->SelectedPath().c_str());
}
