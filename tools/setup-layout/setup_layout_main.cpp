// setup-layout: where the widgets of the setup's windows lie, one line each:
//
//   NAME X Y WIDTH HEIGHT        (client coordinates of the window)
//
//   setup-layout [--associations N] [--no-data-folder]
//       the setup window for that package shape (the full window by default)
//   setup-layout --window message-box|question|text-input|folder-browser --client WIDTH HEIGHT
//       a dialog as shown with that client size: the message and question
//       boxes fit their text and the others can be resized, so their widgets
//       move with the size a script reads off the screen
//   setup-layout --menu log-view|folder-tree
//       a context menu's items, from the menu's top-left corner, each as wide
//       as every menu is at least
//
// The first line of a window is "window 0 0 WIDTH HEIGHT", its client size.
// Scripts click a widget by its name instead of by pixel numbers (tests/
// support/setup-window-lib.sh reads the lines). The folder browser's tool
// buttons are laid out with the default skin's pictures.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "default_skin.h"
#include "layouts/dialog_layouts.h"
#include "layouts/message_box_layout.h"
#include "layouts/setup_window_layout.h"
#include "png_codec.h"
#include "ui/widgets/container.h"
#include "ui/widgets/layout_table.h"
#include "ui/widgets/text_block.h"

namespace {

struct NamedBox {
  std::string name;
  Rect box;
};

void Print(const std::vector<NamedBox>& boxes) {
  for (const NamedBox& entry : boxes) {
    std::printf("%s %d %d %d %d\n", entry.name.c_str(), entry.box.left, entry.box.top, entry.box.Width(),
                entry.box.Height());
  }
}

Rect BoxOf(const LayoutEntry& entry) { return Rect{entry.x, entry.y, entry.x + entry.width, entry.y + entry.height}; }

// The names scripts use for the setup window; entries without an id are
// named by what they show.
std::string SetupNameOf(const LayoutEntry& entry) {
  using namespace setup_id;
  switch (entry.id) {
    case kWindow: return "window";
    case 1: return "title-bar";
    case kLogView: return "log-view";
    case kProgramFolder: return "program-folder";
    case kDesktopShortcut: return "desktop-shortcut";
    case kStartMenuShortcuts: return "start-menu-shortcuts";
    case kAllUsers: return "all-users";
    case kAssociationLabel: return "association-label";
    case kAddToPath: return "add-to-path";
    case kDataFolder: return "data-folder";
    case kDataFolderLabel: return "data-folder-label";
    case kKeepData: return "keep-data";
    case kInstall: return "install";
    case kProgramFolderSearch: return "program-folder-search";
    case kUninstall: return "uninstall";
    case kDataFolderSearch: return "data-folder-search";
    case kClose: return "close";
    case 0: return entry.kind == kPictureKind ? "header" : "program-folder-label";
    default: break;
  }
  if (entry.id >= kFirstAssociation && entry.id < kFirstAssociation + 4) {
    return "association-" + std::to_string(entry.id - kFirstAssociation + 1);
  }
  return "entry-" + std::to_string(entry.id);
}

std::vector<NamedBox> SetupWindow(int associations, bool data_folder_row) {
  const std::vector<LayoutEntry> table = SetupLayoutFor(associations, data_folder_row);
  std::vector<NamedBox> boxes{{"window", Rect{0, 0, table[0].width, table[0].height}}};
  for (std::size_t i = 1; i < table.size(); ++i) boxes.push_back({SetupNameOf(table[i]), BoxOf(table[i])});
  return boxes;
}

// A dialog that fits its text: grown by as much as the shown box is larger.
std::vector<NamedBox> FittedDialog(LayoutEntry* table, int count, int label, const char* const* names, int width,
                                   int height) {
  GrowAroundText(table, count, label, width - table[0].width, height - table[0].height);
  std::vector<NamedBox> boxes{{"window", Rect{0, 0, table[0].width, table[0].height}}};
  for (int i = 1; i < count; ++i) boxes.push_back({names[i], BoxOf(table[i])});
  return boxes;
}

// A picture of the default skin, by name; its size along a vertical bar.
class DefaultSkinMeasure : public ToolBarLayout::Measure {
 public:
  int PictureLength(const ToolBarItem& item) const override {
    for (std::size_t i = 0; i < kDefaultSkinPictureCount; ++i) {
      const EmbeddedPicture& picture = kDefaultSkinPictures[i];
      if (std::strcmp(picture.name, item.picture_name) != 0) continue;
      RgbaPicture rgba;
      std::string error;
      if (ReadPngAsRgba(std::vector<std::uint8_t>(picture.bytes, picture.bytes + picture.size), 4096, rgba, error)) {
        return static_cast<int>(rgba.height);
      }
    }
    return 0;
  }
  int SeparatorLength() const override { return 0; }
};

// A resizable dialog: its widgets follow their anchors as the window's own
// widget tree does when its frame is dragged.
std::vector<NamedBox> ResizedDialog(const LayoutEntry* table, int count, const char* const* names, int width,
                                    int height) {
  Container root(table[0], nullptr);
  BuildWidgets(root, table, count);
  root.ResizeBy(width - table[0].width, height - table[0].height, true, true);
  std::vector<NamedBox> boxes{{"window", Rect{0, 0, width, height}}};
  for (int i = 0; i < root.ChildCount(); ++i) boxes.push_back({names[i + 1], root.Child(i).Bounds()});
  return boxes;
}

std::vector<NamedBox> FolderBrowserWindow(int width, int height) {
  static const char* const kNames[] = {"window", "title-bar", "tool-bar", "tree", "ok", "cancel", "grip"};
  static const char* const kToolNames[] = {"refresh", "make-folder", "delete", "rename"};
  std::vector<NamedBox> boxes =
      ResizedDialog(kFolderBrowserLayout, static_cast<int>(std::size(kFolderBrowserLayout)), kNames, width, height);
  const Rect bar = boxes[2].box;
  ToolBarLayout tools;
  tools.Build(kFolderBrowserTools, bar, DefaultSkinMeasure());
  for (int i = 1; i <= tools.Count() && i <= static_cast<int>(std::size(kToolNames)); ++i) {
    boxes.push_back({kToolNames[i - 1], tools.ItemArea(i)});
  }
  return boxes;
}

// "Copy selected text" is "copy-selected-text"; the shortcut is left out.
std::string MenuNameOf(const MenuItem& item) {
  MenuText text = SplitMenuText(item.text);
  std::string name;
  for (std::size_t i = 0; i < text.label_length; ++i) {
    char c = text.label[i];
    name += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return name;
}

std::vector<NamedBox> Menu(const MenuItem* table) {
  MenuItems items(table);
  std::vector<NamedBox> boxes;
  for (int i = 1; i <= items.Count(); ++i) {
    if (items.IsSeparator(i)) continue;
    int top = items.EntryTop(i);
    boxes.push_back({MenuNameOf(items.Entry(i)), Rect{0, top, kMenuFrameWidth, top + items.EntryHeight(i)}});
  }
  return boxes;
}

int Usage() {
  std::fprintf(stderr,
               "usage: setup-layout [--associations N] [--no-data-folder]\n"
               "       setup-layout --window message-box|question|text-input|folder-browser --client WIDTH HEIGHT\n"
               "       setup-layout --menu log-view|folder-tree\n");
  return 2;
}

bool ReadNumber(const char* text, long low, long high, int& value) {
  char* end = nullptr;
  long number = std::strtol(text, &end, 10);
  if (*end != '\0' || number < low || number > high) return false;
  value = static_cast<int>(number);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int associations = 4;
  bool data_folder_row = true;
  std::string window;
  std::string menu;
  int width = 0;
  int height = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--associations") == 0 && i + 1 < argc) {
      if (!ReadNumber(argv[++i], 0, 4, associations)) return Usage();
    } else if (std::strcmp(argv[i], "--no-data-folder") == 0) {
      data_folder_row = false;
    } else if (std::strcmp(argv[i], "--window") == 0 && i + 1 < argc) {
      window = argv[++i];
    } else if (std::strcmp(argv[i], "--menu") == 0 && i + 1 < argc) {
      menu = argv[++i];
    } else if (std::strcmp(argv[i], "--client") == 0 && i + 2 < argc) {
      if (!ReadNumber(argv[++i], 1, 32767, width) || !ReadNumber(argv[++i], 1, 32767, height)) return Usage();
    } else {
      return Usage();
    }
  }
  if (!menu.empty()) {
    if (menu == "log-view") {
      Print(Menu(kSetupLogMenu));
    } else if (menu == "folder-tree") {
      Print(Menu(kFolderTreeMenu));
    } else {
      return Usage();
    }
    return 0;
  }
  if (window.empty()) {
    Print(SetupWindow(associations, data_folder_row));
    return 0;
  }
  if (width == 0) return Usage();
  if (window == "message-box") {
    static const char* const kNames[] = {"window", "title-bar", "text", "symbol", "ok"};
    auto table = MessageBoxLayout("");
    Print(FittedDialog(table.data(), static_cast<int>(table.size()), kMessageTextEntry, kNames, width, height));
  } else if (window == "question") {
    static const char* const kNames[] = {"window", "title-bar", "question", "symbol", "yes", "no"};
    auto table = QuestionLayout("");
    Print(FittedDialog(table.data(), static_cast<int>(table.size()), kQuestionEntry, kNames, width, height));
  } else if (window == "text-input") {
    static const char* const kNames[] = {"window", "title-bar", "field", "ok", "cancel", "grip"};
    auto table = TextInputLayout("");
    Print(ResizedDialog(table.data(), static_cast<int>(table.size()), kNames, width, height));
  } else if (window == "folder-browser") {
    Print(FolderBrowserWindow(width, height));
  } else {
    return Usage();
  }
  return 0;
}
