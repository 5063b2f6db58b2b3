// A core file as the include check must let it pass: the standard library in
// both spellings, jsoncpp, the library's C interface and the project's own
// headers; an include in a comment or a text is none.
#include <cstdint>
#include <json/json.h>
#include <stdint.h>
#include <string_view>

#include "Log.h"
#include "TavmoClient.h"
#include "platform/Platform.h"

// #include <unistd.h>
const char* const kText = "#include <windows.h>";
#if defined(__GNUC__)
#endif
