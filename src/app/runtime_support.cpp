// Run-time support that keeps the setup small. The C++ library's defaults
// for a fatal error print a demangled type name and build std::logic_error
// texts; linking them statically costs about 100 KB of demangler, string
// formatting and locale code that a setup never shows anyone. Here each ends
// the way every other failure of the program does: an abort of the step.
#include <cxxabi.h>
#include <unwind.h>

#include <cstdlib>
#include <cstring>

#include "log/logger.h"

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { CurrentLogger().LogError("Cannot allocat more memory"); }
void __throw_bad_array_new_length() { CurrentLogger().LogError("Cannot allocat more memory"); }
void __throw_length_error(const char*) { CurrentLogger().LogError("Cannot allocat more memory"); }
void __throw_logic_error(const char*) { throw AbortError{}; }
void __throw_out_of_range_fmt(const char*, ...) { throw AbortError{}; }
void __throw_bad_function_call() { throw AbortError{}; }
}  // namespace std

// The exceptions in flight and being handled. The setup throws on its one
// thread, so one set serves; the library's own is kept per thread through
// emulated thread-local storage (1.5 KB). A second thread that throws would
// need it back, and so would the allocator below its lock.
namespace __cxxabiv1 {
struct __cxa_eh_globals {
  void* caught_exceptions;
  unsigned int uncaught_exceptions;
};
extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept {
  static __cxa_eh_globals globals;
  return &globals;
}
extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept { return __cxa_get_globals(); }
}  // namespace __cxxabiv1

// Room for a thrown object: the C++ ABI's header before it (the library's
// __cxa_refcounted_exception, laid out as the ABI says) and the object. The
// library's own allocator keeps a 64 KB emergency pool behind a lock, 2.5 KB
// of code; a setup throws small objects, one at a time, and one spare block
// lets the error of a full memory still be thrown.
namespace {
struct ThrownHeader {
  int reference_count;
  struct {
    void* type;
    void (*destructor)(void*);
    void (*unexpected_handler)();
    void (*terminate_handler)();
    void* next;
    int handler_count;
    int handler_switch_value;
    const unsigned char* action_record;
    const unsigned char* language_specific_data;
    _Unwind_Ptr catch_temp;
    void* adjusted;
    _Unwind_Exception unwind_header;
  } exception;
};
static_assert(sizeof(ThrownHeader) == (sizeof(void*) == 4 ? 96 : 160), "the C++ ABI's exception header");

alignas(ThrownHeader) unsigned char spare_block[256];
bool spare_taken = false;
}  // namespace

extern "C" void* __cxa_allocate_exception(std::size_t thrown_size) noexcept {
  std::size_t size = sizeof(ThrownHeader) + thrown_size;
  void* block = std::malloc(size);
  if (block == nullptr && !spare_taken && size <= sizeof spare_block) {
    spare_taken = true;
    block = spare_block;
  }
  if (block == nullptr) std::abort();
  std::memset(block, 0, sizeof(ThrownHeader));
  return static_cast<unsigned char*>(block) + sizeof(ThrownHeader);
}

extern "C" void __cxa_free_exception(void* thrown) noexcept {
  void* block = static_cast<unsigned char*>(thrown) - sizeof(ThrownHeader);
  if (block == spare_block) {
    spare_taken = false;
  } else {
    std::free(block);
  }
}
