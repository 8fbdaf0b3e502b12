// One run of a product's setup at a time. Two runs of the same product, from
// a double click or two deployment jobs, would read the same registration
// and interleave their changes, leaving a record that matches neither run.
// Every run takes a mutex named after the product before it reads the
// registration and holds it until the process ends.
//
// The mutex lives in the global namespace, so that runs in other sessions
// (a deployment service, a second user logged on) see it too. The mutex a
// run creates gives access to administrators and the system alone, so a
// user without those rights cannot open it to hold it. A mutex of that name
// that such a user made first still stalls the setup, but is told apart
// from another run by its owner (Squatted).
//
// https://learn.microsoft.com/windows/win32/sync/using-mutex-objects
#pragma once

#include "handles/owned_handle.h"
#include "text/fixed_text.h"

class ProductLock {
 public:
  ProductLock() = default;
  ~ProductLock();
  ProductLock(const ProductLock&) = delete;
  ProductLock& operator=(const ProductLock&) = delete;

  // Takes the product's mutex without waiting; a lock already taken stays.
  // False when another run holds it, or when the mutex cannot be had at
  // all: without it the run cannot be sure it is alone.
  bool Take(const char* product_name);
  // True after a Take that found the product busy.
  bool Busy() const { return busy_; }
  // True after a Take that found the mutex made by someone who is neither an
  // administrator nor the system: no run of the setup holds it (Busy too).
  bool Squatted() const { return squatted_; }

 private:
  KernelHandle mutex_;
  bool busy_ = false;
  bool squatted_ = false;
};

// "Global\Tarnell Setup " and the product name in upper case, "\" made "/"
// (a name may hold no "\" after its namespace), cut to the system's limit.
// Names that differ only in case share a registration, so they share the
// mutex too.
SystemPath ProductLockName(const char* product_name);
