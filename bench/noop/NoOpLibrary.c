/*
 * A library that does nothing: every call succeeds at once, every log line
 * is dropped, and no event is ever raised, since the host needs none to
 * answer the page (a start is answered from TavmoClientStart's result, a
 * stop from the call state read back, which stays 0, idle). With it in the
 * stand-in's place the benchmark measures what the host itself costs.
 */
#include <stdatomic.h>
#include <stdlib.h>
#include <string.h>

#define TAVMO_CLIENT_BUILDING_LIBRARY
#include "TavmoClient.h"

static const char kVersion[] = "no-op";
/* The host asks before each start and stop whether the library runs. */
static atomic_int started;

void TavmoClientConsoleLogConfigure(int32_t enable) { (void)enable; }

TavmoClientBool TavmoClientInitialize(TavmoClientCallbackFn callback, uint32_t userWord,
                                      const TavmoClientLogConfig* logConfig) {
    (void)callback;
    (void)userWord;
    (void)logConfig;
    return 1;
}

void TavmoClientFeatureControlConstructDefault(TavmoClientFeatureControl* features) {
    if (features) memset(features, 0, sizeof *features);
}

TavmoClientBool TavmoClientSetOptionalFeatures(const TavmoClientFeatureControl* features) {
    (void)features;
    return 1;
}

TavmoClientBool TavmoClientStart(TavmoClientCallbackFn callback, uint32_t userWord,
                                 const TavmoClientLogConfig* logConfig, void* window,
                                 const TavmoClientVideoRect* videoRect, uint32_t reserved1,
                                 const TavmoClientStartProfile* profile, uint32_t reserved2) {
    (void)callback;
    (void)userWord;
    (void)logConfig;
    (void)window;
    (void)videoRect;
    (void)reserved1;
    (void)profile;
    (void)reserved2;
    atomic_store(&started, 1);
    return 1;
}

TavmoClientBool TavmoClientIsStarted(void) { return atomic_load(&started) ? 1 : 0; }

TavmoClientBool TavmoClientStop(void) {
    atomic_store(&started, 0);
    return 1;
}

void TavmoClientSynchronizeStart(void) {}

void TavmoClientSynchronizeEnd(void) {}

/* The record is left as the host filled it: zero is the answer to every
   question the host zeroes first. */
int32_t TavmoClientSendRequest(int32_t requestCode, void* record, uint32_t size) {
    (void)requestCode;
    (void)record;
    (void)size;
    return 0;
}

/* Every in-event is accepted; the two whose records point to buffers of
   their own hand those buffers over, and they are freed here. */
TavmoClientBool TavmoClientSendEvent(int32_t eventCode, void* record, uint32_t size) {
    if (eventCode == TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT && record &&
        size == sizeof(TavmoClientGetWindowsExtInEvent))
        free(((TavmoClientGetWindowsExtInEvent*)record)->requestId);
    if (eventCode == TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER && record &&
        size == sizeof(TavmoClientSpeakerTestInEvent))
        free(((TavmoClientSpeakerTestInEvent*)record)->sound);
    return 1;
}

void TavmoClientGetVersion(char* buffer, uint32_t size) {
    if (!buffer || size == 0) return;
    size_t length = strlen(kVersion) < size - 1 ? strlen(kVersion) : size - 1;
    memcpy(buffer, kVersion, length);
    buffer[length] = '\0';
}

void TavmoClientLog(int32_t level, const char* sourceFile, int32_t line, const char* unused, const char* text) {
    (void)level;
    (void)sourceFile;
    (void)line;
    (void)unused;
    (void)text;
}

void TavmoClientLogFormatted(int32_t level, const char* sourceFile, int32_t line, const char* unused,
                             const char* format, ...) {
    (void)level;
    (void)sourceFile;
    (void)line;
    (void)unused;
    (void)format;
}

void TavmoClientUninitialize(void) {}
