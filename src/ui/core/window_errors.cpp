#include "ui/core/window_errors.h"

namespace {

std::exception_ptr parked;

}  // namespace

void ParkWindowError(std::exception_ptr error) {
  if (!parked) parked = error;
}

void RaiseParkedWindowError() {
  if (!parked) return;
  std::exception_ptr error = parked;
  parked = nullptr;
  std::rethrow_exception(error);
}
