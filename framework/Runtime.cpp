// Keeps the statically linked runtime small. Linked into the program as an
// object, so that these definitions take the place of the library's.
#if defined(__GNUC__) && !defined(__clang__)
#include <bits/functexcept.h>

#include <cstdarg>
#include <cstdlib>
#include <new>
#include <string>
#include <typeinfo>

#include "Exception.h"

// GCC's default terminate handler demangles the name of the uncaught
// exception's type and so links the whole demangler (some 45 KB); ours just
// aborts. No exception is meant to go uncaught: window procedures turn errors
// into the error box.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

// The library's containers report misuse through these. Its own versions
// throw std::logic_error and its kin, whose copy-on-write message strings
// bring in a second string implementation (some 40 KB); these throw the
// program's Exception with the same message, which is all a handler here
// reads of it.
namespace std {

void __throw_bad_exception()
{
    throw bad_exception();
}

void __throw_bad_alloc()
{
    throw bad_alloc();
}

void __throw_bad_array_new_length()
{
    throw bad_array_new_length();
}

void __throw_bad_cast()
{
    throw bad_cast();
}

void __throw_bad_typeid()
{
    throw bad_typeid();
}

void __throw_logic_error(const char* message)
{
    throw Exception(message);
}

void __throw_domain_error(const char* message)
{
    throw Exception(message);
}

void __throw_invalid_argument(const char* message)
{
    throw Exception(message);
}

void __throw_length_error(const char* message)
{
    throw Exception(message);
}

void __throw_out_of_range(const char* message)
{
    throw Exception(message);
}

void __throw_runtime_error(const char* message)
{
    throw Exception(message);
}

void __throw_range_error(const char* message)
{
    throw Exception(message);
}

void __throw_overflow_error(const char* message)
{
    throw Exception(message);
}

void __throw_underflow_error(const char* message)
{
    throw Exception(message);
}

// The library's formats use only %zu, %s and %%.
void __throw_out_of_range_fmt(const char* format, ...)
{
    std::string message;
    va_list arguments;
    va_start(arguments, format);
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
            message += std::to_string(va_arg(arguments, size_t));
            p += 2;
        } else if (p[0] == '%' && p[1] == 's') {
            message += va_arg(arguments, const char*);
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            message += '%';
            ++p;
        } else {
            message += *p;
        }
    }
    va_end(arguments);
    throw Exception(message);
}

}  // namespace std
#endif
