// Run-time support that keeps the setup small. The C++ library's defaults
// for a fatal error print a demangled type name and build std::logic_error
// texts; linking them statically costs about 100 KB of demangler, string
// formatting and locale code that a setup never shows anyone. Here each ends
// the way every other failure of the program does: an abort of the step.
#include <cxxabi.h>

#include <cstdlib>

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

// The exception in flight and those being handled, for the one thread that
// throws: the library's own keeps them per thread through emulated
// thread-local storage, 1.5 KB of code that a program of one thread never
// needs.
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

// MinGW's start-up patches references to DLL data that the linker imported
// without the program asking for it. The setup is linked with
// --disable-auto-import, so the linker refuses such references and there is
// nothing to patch: the patcher's 3 KB stay out.
extern "C" void _pei386_runtime_relocator() {}

// The start-up installs these two for math-library errors and for faults no
// one handles; MinGW's own print to a console the setup does not have. The
// setup calls no math function and installs no signal handler, so both do
// what the system would do without them.
extern "C" int _matherr(struct _exception*) { return 0; }
extern "C" {
void* __mingw_oldexcpt_handler = nullptr;
}
extern "C" __attribute__((stdcall)) long _gnu_exception_handler(void*) { return 0; }
