// The library's exported C functions. Lock order: lifecycle, then state,
// then the logger's or the delivery queue's own mutex. No lock of the
// library's is held while it calls the host, except the sync lock, which
// exists for exactly that.
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <pthread.h>
#endif

#include "Delivery.h"
#include "InEventReactions.h"
#include "LibraryState.h"
#include "Logger.h"
#include "MeetingFlows.h"
#include "OwnFolder.h"
#include "Requests.h"
#include "Scenario.h"
#include "Script.h"
#include "SyncLock.h"
#include "TavmoClient.h"

namespace standin {
namespace {

constexpr const char* kVersion = "StandIn 1.0.0";

struct Library {
    // Serialises Initialize and Uninitialize, which create and join threads.
    std::mutex lifecycle;
    std::mutex stateMutex;
    LibraryState state;
    std::unique_ptr<Delivery> delivery;
    // Deliveries told to stop from inside one of their own callbacks, which
    // could not join themselves. Guarded by `lifecycle`; joined by the next
    // Initialize or Uninitialize made from a host thread.
    std::vector<std::unique_ptr<Delivery>> abandoned;
    Logger logger;
    SyncLock sync;
    // Counts Initialize and Uninitialize, so that a delivery thread's hooks
    // act only on the library instance that started it. Guarded by
    // `stateMutex`.
    uint64_t generation = 0;
};

Library& library();

std::terminate_handler previousTerminate = nullptr;

[[noreturn]] void writeLogThenTerminate() {
    if (!Logger::onWriterThread()) library().logger.flush();
    if (previousTerminate) previousTerminate();
    std::abort();
}

// Lines still queued for the log's writer thread are written when the
// process ends without TavmoClientUninitialize: at exit() or when the library
// is unloaded (the destructor), and at std::terminate. A child made by fork()
// writes its lines itself.
struct LogAtProcessEnd {
    LogAtProcessEnd() {
        previousTerminate = std::set_terminate(writeLogThenTerminate);
#if !defined(_WIN32)
        pthread_atfork([] { library().logger.beforeFork(); }, [] { library().logger.afterForkInParent(); },
                       [] { library().logger.afterForkInChild(); });
#endif
    }
    ~LogAtProcessEnd() {
        if (std::get_terminate() == writeLogThenTerminate) std::set_terminate(previousTerminate);
#if defined(_WIN32)
        // This runs in the DLL's detach code, under the loader lock, where no
        // thread can be joined; at exit the process has already ended the
        // writer thread.
        library().logger.finish(false);
#else
        library().logger.finish(true);
#endif
    }
};

// Never destroyed: a host that exits without uninitializing leaves library
// threads running, and destroying their std::thread objects at exit would
// terminate the process.
Library& library() {
    static Library* const instance = new Library;
    static LogAtProcessEnd logAtProcessEnd;
    return *instance;
}

// Caller holds `lifecycle`.
void joinAbandoned(Library& lib) {
    if (!Delivery::onLibraryThread()) lib.abandoned.clear();
}

std::string copyText(const char* text) { return text ? text : ""; }

DeliveryHooks deliveryHooks(uint64_t generation) {
    DeliveryHooks hooks;
    hooks.report = [generation](const ConferenceView& view) {
        auto& lib = library();
        std::lock_guard<std::mutex> guard(lib.stateMutex);
        if (lib.generation == generation) reportConference(lib.state.conference, view);
    };
    hooks.happen = [generation](const Happening& happening) {
        auto& lib = library();
        std::lock_guard<std::mutex> guard(lib.stateMutex);
        if (lib.generation != generation || !lib.state.started) return;
        Script script(lib.state.conference.planned);
        reactToHappening(lib.state, script, happening);
        lib.delivery->schedule(script.take());
    };
    return hooks;
}

// The host's pointers are valid only during its call, so everything is copied.
// Caller holds the state mutex.
void applyLogConfig(Library& lib, const TavmoClientLogConfig* config) {
    LogSettings settings;
    std::string dataDirectory;
    if (config) {
        settings.levels = copyText(config->levelsAndCategories);
        settings.fileSizeLimit = config->sizeValue;
        settings.directory = std::filesystem::u8path(copyText(config->logDirectory));
        settings.fileNamePrefix = copyText(config->fileNamePrefix);
        dataDirectory = copyText(config->dataDirectory);
    }
    const char* overridden = std::getenv("TAVMO_STANDIN_DATA_DIR");
    if (overridden && *overridden) dataDirectory = overridden;
    // The approved websites are read from here: a folder another user could
    // write would let them approve websites for this user.
    const auto dataFolder = std::filesystem::u8path(dataDirectory);
    lib.state.dataDirectory = !dataFolder.empty() && usableFolder(dataFolder) ? dataFolder : std::filesystem::path();
    lib.logger.configure(settings);
}

// A stall named by the scenario, waited out without any of the library's locks.
void stallIfAsked(Library& lib, int32_t requestCode) {
    uint32_t milliseconds = 0;
    {
        std::lock_guard<std::mutex> guard(lib.stateMutex);
        const auto& stalled = lib.state.scenario.stalledRequests;
        const auto found = stalled.find(requestCode);
        if (found == stalled.end()) return;
        milliseconds = found->second;
    }
    const std::string line =
        "Stalling request: [" + std::to_string(requestCode) + "] for [" + std::to_string(milliseconds) + "] ms";
    lib.logger.write(TAVMO_CLIENT_LOG_INFO, "StandIn\\StandIn.cpp", __LINE__, line.c_str(), line.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace
}  // namespace standin

using standin::library;

extern "C" {

void TAVMO_CLIENT_CALL TavmoClientConsoleLogConfigure(int32_t enable) { library().logger.setConsoleEcho(enable != 0); }

TavmoClientBool TAVMO_CLIENT_CALL TavmoClientInitialize(TavmoClientCallbackFn callback, uint32_t userWord,
                                                        const TavmoClientLogConfig* logConfig) {
    auto& lib = library();
    std::lock_guard<std::mutex> lifecycle(lib.lifecycle);
    standin::joinAbandoned(lib);
    standin::Scenario scenario = standin::loadScenarioFromEnvironment();

    std::lock_guard<std::mutex> guard(lib.stateMutex);
    if (lib.state.initialized) return 0;
    standin::applyLogConfig(lib, logConfig);
    lib.state.initialized = true;
    standin::assumeCall(lib.state.conference, scenario.callState);
    lib.delivery = std::make_unique<standin::Delivery>(lib.sync, standin::CallbackTarget{callback, userWord}, scenario,
                                                       standin::deliveryHooks(++lib.generation));
    lib.state.scenario = std::move(scenario);
    return 1;
}

void TAVMO_CLIENT_CALL TavmoClientFeatureControlConstructDefault(TavmoClientFeatureControl* features) {
    if (features) *features = TavmoClientFeatureControl{};
}

TavmoClientBool TAVMO_CLIENT_CALL TavmoClientSetOptionalFeatures(const TavmoClientFeatureControl* features) {
    if (!features) return 0;
    auto& lib = library();
    std::lock_guard<std::mutex> guard(lib.stateMutex);
    lib.state.features = *features;
    return 1;
}

TavmoClientBool TAVMO_CLIENT_CALL TavmoClientStart(TavmoClientCallbackFn callback, uint32_t userWord,
                                                   const TavmoClientLogConfig* logConfig, void*,
                                                   const TavmoClientVideoRect*, uint32_t,
                                                   const TavmoClientStartProfile*, uint32_t) {
    auto& lib = library();
    std::lock_guard<std::mutex> guard(lib.stateMutex);
    if (!lib.state.initialized || lib.state.started || lib.state.scenario.startFails) return 0;
    if (logConfig) standin::applyLogConfig(lib, logConfig);
    lib.delivery->setTarget(standin::CallbackTarget{callback, userWord});
    lib.state.started = true;
    lib.delivery->postStarted();
    for (const auto& happening : lib.state.scenario.happenings) lib.delivery->scheduleHappening(happening);
    return 1;
}

TavmoClientBool TAVMO_CLIENT_CALL TavmoClientIsStarted(void) {
    auto& lib = library();
    std::lock_guard<std::mutex> guard(lib.stateMutex);
    return lib.state.started ? 1 : 0;
}

TavmoClientBool TAVMO_CLIENT_CALL TavmoClientStop(void) {
    auto& lib = library();
    std::lock_guard<std::mutex> lifecycle(lib.lifecycle);
    std::vector<standin::TimelineStep> farewell;
    TavmoClientBool stopped = 1;
    {
        std::lock_guard<std::mutex> guard(lib.stateMutex);
        farewell = standin::conferenceEndAtStop(lib.state);
        if (lib.delivery) lib.delivery->endConference();
        lib.state.started = false;
        if (lib.state.scenario.stopStopping && !lib.state.stopStoppingUsed) {
            lib.state.stopStoppingUsed = true;
            stopped = 0;
        }
    }
    for (const auto& step : farewell) lib.delivery->raiseNow(step.code, step.block);
    return stopped;
}

void TAVMO_CLIENT_CALL TavmoClientSynchronizeStart(void) { library().sync.lock(); }

void TAVMO_CLIENT_CALL TavmoClientSynchronizeEnd(void) { library().sync.unlock(); }

int32_t TAVMO_CLIENT_CALL TavmoClientSendRequest(int32_t requestCode, void* record, uint32_t size) {
    auto& lib = library();
    standin::stallIfAsked(lib, requestCode);
    std::lock_guard<std::mutex> guard(lib.stateMutex);
    standin::Script script(lib.state.conference.planned);
    standin::RequestContext context{lib.state, lib.logger, script};
    const int32_t result = standin::handleRequest(context, requestCode, record, size);
    if (lib.delivery) lib.delivery->schedule(script.take());
    return result;
}

TavmoClientBool TAVMO_CLIENT_CALL TavmoClientSendEvent(int32_t eventCode, void* record, uint32_t size) {
    auto& lib = library();
    std::lock_guard<std::mutex> guard(lib.stateMutex);
    if (!lib.state.initialized || !lib.state.started) return 0;
    if (!record && size != 0) return 0;
    if (lib.state.scenario.refusedEvents.count(eventCode) != 0) return 0;
    standin::Script script(lib.state.conference.planned);
    if (!standin::reactToInEvent(lib.state, script, eventCode, record, size)) return 0;
    lib.delivery->schedule(script.take());
    return 1;
}

void TAVMO_CLIENT_CALL TavmoClientGetVersion(char* buffer, uint32_t size) {
    if (!buffer || size == 0) return;
    std::snprintf(buffer, size, "%s", standin::kVersion);
}

void TAVMO_CLIENT_CALL TavmoClientLog(int32_t level, const char* sourceFile, int32_t line, const char*,
                                      const char* text) {
    if (!text) text = "";
    library().logger.write(level, sourceFile, line, text, std::strlen(text));
}

void TAVMO_CLIENT_CALL TavmoClientLogFormatted(int32_t level, const char* sourceFile, int32_t line, const char*,
                                               const char* format, ...) {
    auto& logger = library().logger;
    if (!format || !logger.wants(level)) return;

    // Most lines fit on the stack; a long one is measured by the first pass
    // and formatted again, from a restarted argument list, into its own buffer.
    char small[1024];
    va_list args;
    va_start(args, format);
    const int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (needed < 0) return;
    if (static_cast<size_t>(needed) < sizeof small) {
        logger.write(level, sourceFile, line, small, static_cast<size_t>(needed));
        return;
    }
    std::string large(static_cast<size_t>(needed) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(&large[0], large.size(), format, args);
    va_end(args);
    logger.write(level, sourceFile, line, large.data(), static_cast<size_t>(needed));
}

void TAVMO_CLIENT_CALL TavmoClientUninitialize(void) {
    auto& lib = library();
    std::lock_guard<std::mutex> lifecycle(lib.lifecycle);
    standin::joinAbandoned(lib);
    std::unique_ptr<standin::Delivery> delivery;
    {
        std::lock_guard<std::mutex> guard(lib.stateMutex);
        if (!lib.state.initialized) return;
        lib.state = standin::LibraryState();
        ++lib.generation;
        delivery = std::move(lib.delivery);
    }
    if (standin::Delivery::onLibraryThread()) {
        delivery->requestStop();
        lib.abandoned.push_back(std::move(delivery));
    } else {
        delivery.reset();
    }
    lib.logger.close();
}

}  // extern "C"
