// Logging goes through the library. Each source file names the unit it belongs
// to in a constant `kLogSource` that the macros pick up.
#pragma once

#include "TavmoClient.h"

#define HOST_LOG(level, ...) TavmoClientLogFormatted((level), kLogSource, __LINE__, "", __VA_ARGS__)
#define LOG_ERROR(...) HOST_LOG(TAVMO_CLIENT_LOG_ERROR, __VA_ARGS__)
#define LOG_INFO(...) HOST_LOG(TAVMO_CLIENT_LOG_INFO, __VA_ARGS__)
#define LOG_DETAIL(...) HOST_LOG(TAVMO_CLIENT_LOG_DETAIL, __VA_ARGS__)

namespace logsource {
inline constexpr const char* kMain = "Source\\main.cpp";
inline constexpr const char* kRequestHandler = "Source\\RequestHandler.cpp";
inline constexpr const char* kOutEventHandler = "Source\\OutEventHandler.cpp";
inline constexpr const char* kTavmoAgent = "Source\\TavmoAgent.cpp";
}  // namespace logsource
