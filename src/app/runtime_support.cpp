// Run-time support that keeps the setup small. The C++ library's defaults
// for a fatal error print a demangled type name and build std::logic_error
// texts; linking them statically costs about 100 KB of demangler, string
// formatting and locale code that a setup never shows anyone. Here each ends
// the way every other failure of the program does: an abort of the step.
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
