// The C++ runtime as the programs link it statically, without what they never use. Linked into
// each program (not into the test programs, which keep the library's own; one of them links this
// file to see the last resort work).
//
// The library's throwers of its own errors (a string too long, an index out of range) live in one
// unit with those of every standard exception, which brings the copy-on-write strings and the
// random-device machinery of the old exception classes along; its default terminate handler brings
// a name demangler and formatted output. Here they throw small exceptions, and terminate goes to
// the program's own report.
//
// What that costs:
// - The throwers here replace the library's whole unit. Code that needs one more of them (a new
//   use of std::function, std::variant, std::regex ...) brings the unit back, and the link fails
//   with "multiple definition of std::__throw_X": add __throw_X here, throwing LibraryError.
// - The programs throw LibraryError where the library throws std::out_of_range, std::length_error
//   and the like (the test programs still throw those). So no code may catch them by type: catch
//   std::exception, as the report does.
// - An exception that escapes every boundary, or a call of std::terminate, shows the report and
//   ends the program with exit code 1 (win/error.h, ReportTermination), where the library would
//   print to a console that a GUI program has not got.
// - The runtime's few uses of POSIX threads (a lock around the exception tables, a key for the
//   exceptions in flight) are served for one thread, the only one the programs have. The full
//   threads library, which they would otherwise bring along, is a seventh of a program's size.
//   A program that starts a thread of its own must link the library again: remove that part.

#include <exception>
#include <new>

#if defined(__GLIBCXX__)

#include <cxxabi.h>

#include <cstdint>

#include "win/error.h"

namespace {

class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* what) noexcept : what_(what) {}
    const char* what() const noexcept override { return what_; }

private:
    const char* what_;
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char* what) { throw LibraryError(what); }
void __throw_logic_error(const char* what) { throw LibraryError(what); }
void __throw_out_of_range(const char* what) { throw LibraryError(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_invalid_argument(const char* what) { throw LibraryError(what); }

}  // namespace std

// One thread: a lock is never contended, a once-flag needs no lock, a key holds one value.
extern "C" {

int pthread_once(long* once, void (*first)()) {
    if (*once == 0) {
        *once = 1;
        first();
    }
    return 0;
}
int pthread_mutex_init(intptr_t*, const void*) { return 0; }
int pthread_mutex_destroy(intptr_t*) { return 0; }
int pthread_mutex_lock(intptr_t*) { return 0; }
int pthread_mutex_unlock(intptr_t*) { return 0; }

namespace {
void* g_keyValues[8];
unsigned g_keys = 0;
}  // namespace

int pthread_key_create(unsigned* key, void (*)(void*)) {
    if (g_keys == sizeof(g_keyValues) / sizeof(g_keyValues[0])) return 11;  // EAGAIN
    *key = g_keys++;
    return 0;
}
int pthread_key_delete(unsigned) { return 0; }
void* pthread_getspecific(unsigned key) { return key < g_keys ? g_keyValues[key] : nullptr; }
int pthread_setspecific(unsigned key, const void* value) {
    if (key >= g_keys) return 22;  // EINVAL
    g_keyValues[key] = const_cast<void*>(value);
    return 0;
}

}  // extern "C"

namespace __gnu_cxx {

// The library's default terminate handler: std::terminate calls it unless the program sets another.
void __verbose_terminate_handler() {
    tavrix::win::ReportTermination(abi::__cxa_current_exception_type() != nullptr);
}

}  // namespace __gnu_cxx

#endif
