#include "ui/core/placement.h"

#include "ui/core/key_codes.h"

PlacementChange PlanPlacement(unsigned command, std::uint8_t state, bool restores_to_maximised) {
  constexpr PlacementChange kNothing{false, kPlacementNormal, ShowCommand::kRestore, kPlacementNormal};
  switch (command) {
    case command::kMinimise:
      if (state == kPlacementNormal) {
        return {true, kNormalToMinimised, ShowCommand::kMinimise, kPlacementMinimised};
      }
      if (state == kPlacementMaximised) {
        return {true, kMaximisedToMinimised, ShowCommand::kMinimise, kPlacementMinimised};
      }
      return kNothing;
    case command::kMaximise:
      if (state == kPlacementMinimised) {
        return {true, kMinimisedToMaximised, ShowCommand::kMaximise, kPlacementMaximised};
      }
      if (state == kPlacementNormal) {
        return {true, kNormalToMaximised, ShowCommand::kMaximise, kPlacementMaximised};
      }
      return kNothing;
    case command::kRestore:
      if (state == kPlacementMinimised) {
        return restores_to_maximised
                   ? PlacementChange{true, kMinimisedToMaximised, ShowCommand::kMaximise, kPlacementMaximised}
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
