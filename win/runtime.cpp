// The C++ runtime as the programs link it statically, without what they never use. Linked into
// each program (not into the test programs, which keep the library's own).
//
// The library's throwers of its own errors (a string too long, an index out of range) live in one
// unit with those of every standard exception, which brings the copy-on-write strings and the
// random-device machinery of the old exception classes along; its default terminate handler brings
// a name demangler and formatted output. Here they throw small exceptions and end quietly: the
// programs report every error through their own report, and never end by terminate.

#include <cstdlib>
#include <exception>
#include <new>

#if defined(__GLIBCXX__)

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

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

#endif
