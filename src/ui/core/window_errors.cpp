#include "ui/core/window_errors.h"

#include "log/abort_error.h"

namespace {

bool parked = false;

}  // namespace

void ParkWindowError() { parked = true; }

void RaiseParkedWindowError() {
  if (!parked) return;
  parked = false;
  throw AbortError{};
}
