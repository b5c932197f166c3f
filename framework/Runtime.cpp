// Keeps the statically linked runtime small. GCC's default terminate
// handler demangles the name of the uncaught exception's type and so links
// the whole demangler (some 45 KB); ours just aborts. No exception is meant
// to go uncaught: window procedures turn errors into the error box.
#if defined(__GNUC__) && !defined(__clang__)
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
#endif
