// One run of a product's setup at a time. Two runs of the same product, from
// a double click or two deployment jobs, would read the same registration
// and interleave their changes, leaving a record that matches neither run.
// Every run takes the product's lock before it reads the registration and
// holds it until the process ends.
//
// The lock is a file in the Windows folder, where only administrators and
// the system may create files, opened with no sharing and deleted when its
// handle closes: a run that holds it keeps every other run out, in any
// session, and no user can make or hold it first to stall the product's
// setups. The system removes it however the run ends (a kill included), so
// it is no change to the machine that a later run would have to undo.
//
// Setups of earlier versions lock a mutex in the global namespace instead,
// which any user may create first. A run still takes that mutex so that it
// and an earlier version's run keep out of each other; one that a user who
// is no administrator made stops nothing, and is reported (Squatted).
//
// https://learn.microsoft.com/windows/win32/fileio/creating-and-opening-files
#pragma once

#include "handles/owned_handle.h"
#include "text/fixed_text.h"

class ProductLock {
 public:
  ProductLock() = default;
  ~ProductLock();
  ProductLock(const ProductLock&) = delete;
  ProductLock& operator=(const ProductLock&) = delete;

  // Takes the product's lock without waiting; a lock already taken stays.
  // False when another run holds it, or when it cannot be had at all:
  // without it the run cannot be sure it is alone.
  bool Take(const char* product_name);
  // True after a Take that found the product busy.
  bool Busy() const { return busy_; }
  // True after a Take that found the earlier versions' mutex made by someone
  // who is neither an administrator nor the system. The run goes on.
  bool Squatted() const { return squatted_; }

 private:
  KernelHandle file_;
  KernelHandle mutex_;
  bool busy_ = false;
  bool squatted_ = false;
};

// The lock file: the Windows folder, "\Tarnell Setup ", the product name
// (cut to what one name may hold) and ".lock". Names that differ only in
// case share a registration, and the file system shares the file for them.
// Empty when the Windows folder cannot be had.
SystemPath ProductLockPath(const char* product_name);
// The mutex of earlier versions: "Global\Tarnell Setup " and the product
// name in upper case, "\" made "/", cut to the system's limit.
SystemPath ProductLockName(const char* product_name);
