// A core file as the include check must refuse it (CMakeLists.txt here): each
// system header and each condition on the operating system, with its line.
#include <vector>

#include <unistd.h>
#include <sys/stat.h>
#  include <windows.h>
#include "pthread.h"
#if defined(_WIN32)
#endif
#ifdef __linux__
#endif
