#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

// The program catches none of the library's failures: an uncaught one ends the process. The
// library's own roads to that end link code this program never needs, so the shipped program
// replaces them (tests keep the library's).

// The default handler prints the exception's name, linking a name demangler and formatted
// output (about 80 KB), and a window program has no console to print on.
namespace __gnu_cxx {
[[noreturn]] void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// Raising the library's logic errors links their message strings' machinery (about 50 KB).
// Running out of memory still throws, so a form half built is still taken down in order.
namespace std {
[[noreturn]] void __throw_bad_alloc() { throw bad_alloc(); }
[[noreturn]] void __throw_bad_array_new_length() { throw bad_array_new_length(); }
[[noreturn]] void __throw_length_error(const char*) { abort(); }
[[noreturn]] void __throw_logic_error(const char*) { abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { abort(); }
}  // namespace std
