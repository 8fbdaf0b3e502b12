// The placement states of a window (minimised, maximised, normal) and the
// changes between them. While a change is under way the window holds a
// transition state, so that the size messages the change causes can tell a
// real resize from minimising and restoring.
#pragma once

#include <cstdint>

enum PlacementState : std::uint8_t {
  kPlacementMinimised = 0,
  kPlacementMaximised = 1,
  kPlacementNormal = 2,
  kNormalToMinimised = 3,
  kNormalToMaximised = 4,
  kMinimisedToNormal = 5,
  kMinimisedToMaximised = 6,
  kMaximisedToNormal = 7,
  kMaximisedToMinimised = 8,
};

enum class ShowCommand : std::uint8_t { kMinimise, kMaximise, kRestore };

struct PlacementChange {
  bool applies;  // false: the command does nothing in this state
  PlacementState transition;
  ShowCommand show;
  PlacementState final;
};

// What a system command (minimise, maximise, restore) does in `state`.
// `restores_to_maximised` is the placement's flag that a minimised window was
// maximised before.
PlacementChange PlanPlacement(unsigned command, std::uint8_t state, bool restores_to_maximised);

// The window shows as maximised (the title bar offers restore).
bool ShowsMaximised(std::uint8_t state);
// Size messages in these states are no real resize: the window is, or is
// becoming, minimised, or comes back from it to its stored size.
bool KeepsStoredSize(std::uint8_t state);
