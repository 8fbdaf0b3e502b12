#include "skin_table.h"

#include "text/case_fold.h"

const SkinTableEntry kSkinTable[] = {
    // Check boxes: unchecked, checked, third state; each normal, then pressed or disabled.
    {"check1", 13, 15},
    {"check2", 13, 15},
    {"check3", 13, 15},
    {"check4", 13, 15},
    {"check5", 13, 15},
    {"check6", 13, 15},
    // Radio buttons: unchecked, checked, then both pressed or disabled.
    {"radiopat0", 12, 13},
    {"radiopat1", 12, 13},
    {"radiopat2", 12, 13},
    {"radiopat3", 12, 13},
    // Push-button corners, raised and pressed.
    {"ltupbutton", 5, 5},
    {"rtupbutton", 5, 5},
    {"lbupbutton", 5, 5},
    {"rbupbutton", 5, 5},
    {"ltdwnbutton", 5, 5},
    {"rtdwnbutton", 5, 5},
    {"lbdwnbutton", 5, 5},
    {"rbdwnbutton", 5, 5},
    // Scroll-bar track ends and thumb ends: 0 to 2 pixels from the arrow, then away from it.
    {"leftborder", 3, 13},
    {"rightborder", 3, 13},
    {"topborder", 13, 3},
    {"bottomborder", 13, 3},
    {"leftreiter0", 3, 13},
    {"leftreiter1", 4, 13},
    {"leftreiter2", 5, 13},
    {"leftreiter3", 3, 13},
    {"rightreiter0", 3, 13},
    {"rightreiter1", 4, 13},
    {"rightreiter2", 5, 13},
    {"rightreiter3", 3, 13},
    {"topreiter0", 13, 3},
    {"topreiter1", 13, 4},
    {"topreiter2", 13, 5},
    {"topreiter3", 13, 3},
    {"bottomreiter0", 13, 3},
    {"bottomreiter1", 13, 4},
    {"bottomreiter2", 13, 5},
    {"bottomreiter3", 13, 3},
    // Scroll-bar arrows, raised and held, and the thumb grips.
    {"uparrowup", 13, 13},
    {"uparrowdown", 13, 13},
    {"downarrowup", 13, 13},
    {"downarrowdown", 13, 13},
    {"leftarrowup", 13, 13},
    {"leftarrowdown", 13, 13},
    {"rightarrowup", 13, 13},
    {"rightarrowdown", 13, 13},
    {"vscrollgrip", 13, 10},
    {"hscrollgrip", 10, 13},
    // Edit-field corners.
    {"ltedit", 3, 3},
    {"lbedit", 3, 3},
    {"rtedit", 3, 3},
    {"rbedit", 3, 3},
    // Mouse cursors.
    {"defcur11", 32, 32},
    {"Ibeamcur", 32, 32},
    {"WEcur", 32, 32},
    {"NScur", 32, 32},
    {"NWSEcur", 32, 32},
    {"NESWcur", 32, 32},
    // Title-bar buttons, normal and held.
    {"closebmp1", 20, 20},
    {"closebmp2", 20, 20},
    {"minimizebmp1", 20, 20},
    {"minimizebmp2", 20, 20},
    {"maximizebmp1", 20, 20},
    {"maximizebmp2", 20, 20},
    {"restorebmp1", 20, 20},
    {"restorebmp2", 20, 20},
    // Tool bar: button ends raised and sunken, separator.
    {"up24left", 4, 24},
    {"up24right", 4, 24},
    {"down24left", 4, 24},
    {"down24right", 4, 24},
    {"tbsep", 16, 24},
    {"zoomcorner", 14, 14},
    // Tree expanders (1: the line goes on below, 2: the last child) and connectors.
    {"plussign1", 15, 17},
    {"plussign2", 15, 17},
    {"minussign1", 15, 17},
    {"minussign2", 15, 17},
    {"emptysign1", 15, 17},
    {"emptysign2", 15, 17},
    {"unkownsign1", 15, 17},
    {"unkownsign2", 15, 17},
    {"vertlinebmp", 15, 17},
    {"nothingbmp", 15, 17},
    // Drive and folder symbols of the folder browser.
    {"folderbmp", 16, 17},
    {"harddiskbmp", 19, 17},
    {"netdiskbmp", 19, 17},
    {"laserdiskbmp", 19, 17},
    {"ramdiskbmp", 17, 17},
    {"save4", 16, 16},
    // Menu and tool-bar icons.
    {"makedirbmp", 16, 16},
    {"deletebmp", 16, 16},
    {"rename", 16, 16},
    {"refresh", 16, 16},
    {"selectallbmp", 16, 16},
    {"unselectall", 16, 16},
    {"copybmp", 16, 16},
    // The setup window's header and the message-box symbols.
    {"insthead", 500, 70},
    {"askbmp", 32, 32},
    {"warnbmp", 32, 32},
};
const std::size_t kSkinTableSize = sizeof kSkinTable / sizeof kSkinTable[0];

const SkinTableEntry* FindSkinTableEntry(const char* name) {
  for (const SkinTableEntry& entry : kSkinTable) {
    if (EqualIgnoringCase(entry.name, name)) return &entry;
  }
  return nullptr;
}
