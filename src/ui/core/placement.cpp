#include "ui/core/placement.h"

#include "ui/core/key_codes.h"

PlacementChange PlanPlacement(unsigned command, std::uint8_t state, bool restores_to_maximised) {
  constexpr PlacementChange kNothing{false, kPlacementNormal, ShowCommand::kRestore, kPlacementNormal};
  switch (command) {
    case command::kMinimize:
      if (state == kPlacementNormal) {
        return {true, kNormalToMinimised, ShowCommand::kMinimize, kPlacementMinimised};
      }
      if (state == kPlacementMaximised) {
        return {true, kMaximisedToMinimised, ShowCommand::kMinimize, kPlacementMinimised};
      }
      return kNothing;
    case command::kMaximize:
      if (state == kPlacementMinimised) {
        return {true, kMinimisedToMaximised, ShowCommand::kMaximize, kPlacementMaximised};
      }
      if (state == kPlacementNormal) {
        return {true, kNormalToMaximised, ShowCommand::kMaximize, kPlacementMaximised};
      }
      return kNothing;
    case command::kRestore:
      if (state == kPlacementMinimised) {
        return restores_to_maximised
                   ? PlacementChange{true, kMinimisedToMaximised, ShowCommand::kMaximize, kPlacementMaximised}
                   : PlacementChange{true, kMinimisedToNormal, ShowCommand::kRestore, kPlacementNormal};
      }
      if (state == kPlacementMaximised) {
        return {true, kMaximisedToNormal, ShowCommand::kRestore, kPlacementNormal};
      }
      return kNothing;
    default: return kNothing;
  }
}

bool ShowsMaximised(std::uint8_t state) {
  return state == kPlacementMaximised || state == kNormalToMaximised || state == kMinimisedToMaximised;
}

bool KeepsStoredSize(std::uint8_t state) {
  return state == kPlacementMinimised || state == kNormalToMinimised || state == kMinimisedToNormal ||
         state == kMaximisedToMinimised;
}
