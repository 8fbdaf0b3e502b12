#include "controls_window.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "event_log.h"
#include "graphics/skin_pictures.h"
#include "layouts/setup_window_layout.h"
#include "ui/widgets/check_box.h"
#include "ui/widgets/image_button.h"
#include "ui/widgets/log_view.h"
#include "ui/widgets/text_edit.h"
#include "ui/widgets/title_bar.h"
#include "ui/widgets/tree_view.h"

namespace {

// Layout kinds of the widgets this window makes itself.
constexpr std::uint8_t kImageButtonKind = 22;
constexpr std::uint8_t kTreeKind = 23;
constexpr std::uint8_t kLogKind = 24;

constexpr std::uint16_t kLogButton = 2041;
constexpr std::uint16_t kReportButton = 2042;
constexpr std::uint16_t kDisabledButton = 2043;
constexpr std::uint16_t kThreeStateBox = 2004;
constexpr std::uint16_t kReadOnlyField = 2033;
constexpr std::uint16_t kLogId = 5405;
constexpr std::uint16_t kTreeId = 2035;
// F5, which every control hands on: a report without moving the focus.
constexpr unsigned kReportKey = 0x74;

const LayoutEntry kTable[] = {
    {6100, kWindowKind, kAnchorTopLeft, 60, 60, 560, 320, ""},
    {1, kTitleBarKind, kAnchorTopEdge, 0, 0, 560, 20, "Controls Gallery"},
    {2001, kButtonKind, 0, 10, 30, 90, 26, "Press me"},
    {2002, kImageButtonKind, 0, 108, 30, 28, 26, "copybmp"},
    {kLogButton, kButtonKind, 0, 144, 30, 90, 26, "Log 1200"},
    {kReportButton, kButtonKind, 0, 242, 30, 90, 26, "Report"},
    {kDisabledButton, kButtonKind, 0, 340, 30, 90, 26, "Disabled"},
    {2003, kCheckBoxKind, 0, 10, 66, 150, 15, "Desktop shortcut"},
    {kThreeStateBox, kCheckBoxKind, 0, 10, 88, 150, 15, "Three states"},
    {2011, kRadioButtonKind, 0, 170, 66, 110, 13, "Small"},
    {2012, kRadioButtonKind, 0, 170, 84, 110, 13, "Medium"},
    {2013, kRadioButtonKind, 0, 170, 102, 110, 13, "Large"},
    {2014, kCheckBoxKind, 0, 290, 66, 120, 15, "Apart"},
    {2021, kRadioButtonKind, 0, 290, 88, 110, 13, "Left"},
    {2022, kRadioButtonKind, 0, 290, 104, 110, 13, "Right"},
    {kReadOnlyField, kEditFieldKind, 0, 420, 66, 130, 20, "Read only"},
    {2031, kEditFieldKind, 0, 10, 124, 330, 20, "C:\\Program Files\\Tarnell"},
    {2032, kEditFieldKind, 0, 10, 150, 330, 46, ""},
    {kLogId, kLogKind, 0, 10, 204, 330, 106, ""},
    {kTreeId, kTreeKind, 0, 350, 124, 200, 186, ""},
};
constexpr int kEntries = static_cast<int>(sizeof kTable / sizeof kTable[0]);

// A folder of the gallery's made-up drives.
class Folder : public TreeItem {
 public:
  explicit Folder(const char* name) : name_(name) {}
  const char* Text() const override { return name_; }

 private:
  const char* name_;
};

struct FakeFolder {
  const char* parent;
  const char* name;
};
const FakeFolder kFolders[] = {
    {"C:\\", "Programs"},  {"C:\\", "Tarnell"}, {"C:\\", "Users"},   {"Programs", "Tools"},
    {"Programs", "Games"}, {"Tarnell", "Data"}, {"Tarnell", "Logs"},
};

// Picture numbers of the node images.
constexpr std::uint8_t kDiskImage = 1;
constexpr std::uint8_t kFolderImage = 2;
constexpr std::uint8_t kDiscImage = 3;

// A tree whose nodes read their children from the made-up folders; the
// second drive has none (a drive without a medium).
class GalleryTree : public TreeView {
 public:
  using TreeView::TreeView;

 protected:
  void ReadChildren(int node) override {
    std::vector<TreeModel::NewChild> children;
    std::string name = Model().Text(node);
    for (const FakeFolder& folder : kFolders) {
      if (name == folder.parent) {
        children.push_back({kFolderImage, NodeState::kUnread, std::make_unique<Folder>(folder.name)});
      }
    }
    Events().Line("read %s %d", name.c_str(), static_cast<int>(children.size()));
    AddChildren(node, std::move(children));
  }
};

// CR and LF written as \r and \n, so a text stays on one event line.
std::string Escaped(const char* text) {
  std::string out;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c == '\r')
      out += "\\r";
    else if (*c == '\n')
      out += "\\n";
    else
      out += *c;
  }
  return out;
}

}  // namespace

ControlsRoot::ControlsRoot() : Container(kTable[0], nullptr), blink_time_(GetCaretBlinkTime()) {
  enabled_ = true;
  // A steady caret, so that a screenshot does not depend on the blink.
  SetCaretBlinkTime(INFINITE);
}

ControlsRoot::~ControlsRoot() { SetCaretBlinkTime(blink_time_); }

std::unique_ptr<Widget> ControlsRoot::ProvideWidget(const LayoutEntry& entry) {
  switch (entry.kind) {
    case kImageButtonKind: {
      auto button = std::make_unique<ImageButton>(entry, this);
      button->SetText("Copy the text");
      return button;
    }
    case kLogKind: {
      // The setup's own menu, whose items setup-layout places for the script.
      auto log = std::make_unique<LogView>(entry, this);
      log->SetContextMenu(kSetupLogMenu);
      return log;
    }
    case kTreeKind: {
      auto tree = std::make_unique<GalleryTree>(entry, this);
      tree->SetImages(
          SkinPictures(SkinPictures::Ground::kWhite, {nullptr, "harddiskbmp", "folderbmp", "laserdiskbmp"}));
      tree->Append(1, kDiskImage, NodeState::kUnread, std::make_unique<Folder>("C:\\"));
      tree->Append(1, kDiscImage, NodeState::kUnread, std::make_unique<Folder>("D:\\"));
      return tree;
    }
    default: return nullptr;
  }
}

void ControlsRoot::Start(const char* native_title, int x, int y) {
  frame_ = std::make_unique<FrameWindow>(*this, kTable, kEntries, WindowKind::kApplication);
  frame_->MoveTo(x, y);
  FindById(kDisabledButton)->SetEnabled(false);
  static_cast<CheckBox*>(FindById(kThreeStateBox))->SetThreeState(true);
  static_cast<TextEdit*>(FindById(kReadOnlyField))->SetEditable(false);
  FindById(2021)->SetChecked(1);
  frame_->ShowMain(native_title);
  for (int i = 2; i < kEntries; ++i) {
    Widget* widget = FindById(kTable[i].id);
    Point at = frame_->ClientToScreen(Point{widget->X(), widget->Y()});
    Events().Line("at %u %d %d %d %d", static_cast<unsigned>(widget->Id()), at.x, at.y, widget->Width(),
                  widget->Height());
  }
  LogExpanders();
  LogCloseButton(*frame_, *static_cast<TitleBar*>(FindById(1)));
  Events().Line("ready main %d %d %d %d", frame_->X(), frame_->Y(), frame_->Width(), frame_->Height());
}

// "expander NODE X Y WIDTH HEIGHT" for each shown node of the tree, where a
// click opens or closes it, so that the scripts click a node's by its name.
void ControlsRoot::LogExpanders() {
  auto* tree = static_cast<TreeView*>(FindById(kTreeId));
  const TreeModel& model = tree->Model();
  Rect area = tree->ViewArea();
  for (int node = model.NextShown(0); node != 0; node = model.NextShown(node)) {
    Point at =
        frame_->ClientToScreen(Point{area.left + (model.Node(node).Depth() - 1) * TreeModel::kIndent - tree->ScrollX(),
                                     area.top + model.RowOf(node) * TreeModel::kRowHeight - tree->ScrollY()});
    Events().Line("expander %s %d %d %d %d", model.Text(node), at.x, at.y, TreeModel::kIndent, TreeModel::kRowHeight);
  }
}

void ControlsRoot::Notify(unsigned code, std::uint16_t id) {
  Events().Line("notify %u %u", code, static_cast<unsigned>(id));
  if (code == kLogButton) FillLog();
  if (code == kReportButton || code == kReportKey) Report();
}

void ControlsRoot::FillLog() {
  auto* log = static_cast<LogView*>(FindById(kLogId));
  char line[64];
  for (int i = 1; i <= 1200; ++i) {
    std::snprintf(line, sizeof line, "Line %04d of the install log", i);
    log->TrimAndAppend(line);
  }
}

void ControlsRoot::Report() {
  Events().Line("report edit1 %s", Escaped(FindById(2031)->GetText()).c_str());
  Events().Line("report edit2 %s", Escaped(FindById(2032)->GetText()).c_str());
  Events().Line("report checks %d %d %d", FindById(2003)->GetValue(), FindById(kThreeStateBox)->GetValue(),
                FindById(2014)->GetValue());
  Events().Line("report radios %d %d %d %d %d", FindById(2011)->GetValue(), FindById(2012)->GetValue(),
                FindById(2013)->GetValue(), FindById(2021)->GetValue(), FindById(2022)->GetValue());
  auto* log = static_cast<LogView*>(FindById(kLogId));
  const LineStore& lines = log->Model().Lines();
  std::string first(lines.Text(1));
  std::string last(lines.Text(lines.Count()));
  Events().Line("report log %d %d %d [%s] [%s]", lines.Count(), log->ScrollY(),
                std::max(0, log->ContentHeight() - log->ViewArea().Height()), first.c_str(), last.c_str());
  auto* tree = static_cast<TreeView*>(FindById(kTreeId));
  const TreeModel& model = tree->Model();
  std::string shown;
  for (int node = model.NextShown(0); node != 0; node = model.NextShown(node)) {
    shown += ' ';
    shown += model.Text(node);
    shown += static_cast<char>('0' + static_cast<int>(model.Node(node).state));
  }
  int selected = model.Selected();
  Events().Line("report tree [%s]%s", selected != 0 ? model.Text(selected) : "", shown.c_str());
}

void ControlsRoot::Close() {
  Events().Line("close main");
  PostQuitMessage(0);
}
