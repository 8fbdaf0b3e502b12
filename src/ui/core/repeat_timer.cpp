#include "ui/core/repeat_timer.h"

#include <windows.h>

#include "ui/core/wait_table.h"

namespace {

constexpr int kFirstDelayMs = 500;
constexpr int kRepeatMs = 50;

struct Repeat {
  HANDLE timer = nullptr;
  RepeatTarget* target = nullptr;
  bool first = false;
};

Repeat& State() {
  static Repeat repeat;
  return repeat;
}

void Tick() {
  Repeat& repeat = State();
  if (repeat.target == nullptr) {
    StopTimer(repeat.timer);
    return;
  }
  if (repeat.first) {
    repeat.first = false;
    StartTimer(repeat.timer, kRepeatMs);
  }
  repeat.target->RepeatTick();
}

}  // namespace

void StartRepeatTimer() {
  Repeat& repeat = State();
  if (repeat.timer == nullptr) repeat.timer = CreateTimer(Tick);
}

void StartToolkitRepeat(RepeatTarget& target) {
  Repeat& repeat = State();
  repeat.target = &target;
  repeat.first = true;
  StartTimer(repeat.timer, kFirstDelayMs);
}

void StopToolkitRepeat(RepeatTarget& target) {
  Repeat& repeat = State();
  if (repeat.target != &target) return;
  repeat.target = nullptr;
  StopTimer(repeat.timer);
}
