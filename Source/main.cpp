// The host's process: start-up, supervision of the workers, and the shutdown
// in its fixed order.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "DeviceNotifications.h"
#include "HostState.h"
#include "HostThreads.h"
#include "Log.h"
#include "LogConfig.h"
#include "OutEventHandler.h"
#include "RequestHandler/VirtualCamera.h"
#include "TavmoAgent.h"
#include "TavmoFacts.h"
#include "Worker.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kLogSource = logsource::kMain;
constexpr const char* kAcceptedExtensionId = TAVMO_EXTENSION_ID;
constexpr const char* kInstanceLockName = "ZOLT.EXE";
constexpr const char* kCaptureFileName = "ZOLTStdout.txt";
constexpr std::chrono::milliseconds kWorkerExitLimit{10000};
// The main thread sleeps in the message wait while the input is open; the
// end of input wakes it at once, so this only bounds a missed wake-up.
constexpr std::chrono::milliseconds kMessageWait{1000};

struct Arguments {
    bool debug = false;
    bool callerAccepted = false;
};

Arguments examineArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "-debug") == 0) arguments.debug = true;
        if (std::strstr(argv[i], kAcceptedExtensionId)) arguments.callerAccepted = true;
    }
    return arguments;
}

// The browser keeps what a host writes to standard error in its own log, and
// the page sees only that the host ended: a refused start says why there
// too, in one line.
int refuseStart(const std::string& why) {
    std::fprintf(stderr, "TavmoClientForWeb: %s\n", why.c_str());
    return -1;
}

std::string seeTheLog() { return " (the log is in " + std::string(logDirectoryText()) + ")"; }

bool takeInstanceLock() {
    platform::InstanceLock lock = platform::acquireInstanceLock(kInstanceLockName);
    switch (lock.state) {
        case platform::InstanceLockState::Owned:
            LOG_INFO("MainThread: CreateMutexExA(...) hMutex: [%#x]", static_cast<unsigned>(lock.handle));
            return true;
        case platform::InstanceLockState::HeldElsewhere:
            LOG_ERROR("MainThread: CreateMutexExA(...) can't own the mutex ERROR: [%d]", lock.systemError);
            refuseStart("another host is running; this one ends" + seeTheLog());
            return false;
        case platform::InstanceLockState::Failed:
            LOG_ERROR("MainThread: CreateMutexExA(...) can't create mutex ERROR: [%d]", lock.systemError);
            refuseStart("the single-instance lock cannot be created (error " + std::to_string(lock.systemError) +
                        "); not started" + seeTheLog());
            return false;
    }
    return false;
}

// Keeps a private copy of standard output for the framed messages and sends
// everything else written to standard output into the capture file.
FILE* separateStandardOutput(bool debug) {
    platform::ignoreBrokenPipes();
    int stdoutCopy = platform::duplicateStandardOutput();
    if (!debug) {
        platform::setBinaryMode(0);
        platform::setBinaryMode(1);
    }
    if (stdoutCopy < 0) {
        LOG_INFO("MainThread: Can't duplicate stdout.");
        return nullptr;
    }
    if (!debug) platform::setBinaryMode(stdoutCopy);
    FILE* stdoutStream = platform::openStream(stdoutCopy, debug ? "a" : "ab");
    TavmoAgent::setOutputStream(stdoutStream);
    LOG_INFO("MainThread: stdout duplicated. stdout: [%d], file: [%d]", stdoutCopy,
             stdoutStream ? static_cast<int>(reinterpret_cast<uintptr_t>(stdoutStream)) : 0);
    return stdoutStream;
}

FILE* openCaptureFile() {
    platform::CaptureFile capture = platform::redirectStandardOutput(kCaptureFileName);
    if (capture.stream)
        LOG_INFO("MainThread: Sucessfully redirected stdout to file: [%s]", capture.path.c_str());
    else if (capture.refusal)
        LOG_ERROR("MainThread: Can't redirect stdout to file: [%s], %s; going on without it", capture.path.c_str(),
                  capture.refusal);
    else
        LOG_INFO("MainThread: Can't redirect stdout to file: [%s]", capture.path.c_str());
    return capture.stream;
}

void enableOptionalFeatures() {
    TavmoClientFeatureControl features;
    TavmoClientFeatureControlConstructDefault(&features);
    features.bytes[TAVMO_CLIENT_FEATURE_BYTE_HOST] = 1;
    TavmoClientSetOptionalFeatures(&features);
}

void createHiddenWindow() {
    hWindow = platform::createHiddenWindow(onVideoDeviceChange);
    LOG_INFO("MainThread: CreateWindowEx(...) hWindow: [%#x]",
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(hWindow)));
}

// Runs while the workers answer the first requests: setting up the watch
// (udev's netlink socket and its filter, or the window's registration) is
// not on the way to the first reply. What depends on the devices waits for
// deviceWatchSettled(), whether the watch runs or not.
bool watchDevices() {
    struct Settles {
        ~Settles() { deviceWatchSettled(); }
    } settles;
    uintptr_t notifyHandle = 0;
    int error = 0;
    if (!platform::registerDeviceNotification(hWindow, notifyHandle, error)) {
        LOG_ERROR("MainThread: RegisterDeviceNotification(...) failed ERROR: [%d]", error);
        return false;
    }
    LOG_INFO("MainThread: RegisterDeviceNotification(...) hNotify: [%#x]", static_cast<unsigned>(notifyHandle));
    return true;
}

class Supervisor {
public:
    // Starts InputThread, OutputThread and OutEventThread, in this order.
    Supervisor()
        : input_(std::make_unique<Worker>([] { InputThread(stdin); }, [] { platform::wakeMainThread(); })),
          output_(std::make_unique<Worker>([] { OutputThread(); })),
          outEvent_(std::make_unique<Worker>([] { OutEventThread(); })) {}

    // Runs until the input has ended and the other workers have ended or been
    // given up on.
    void run() {
        while (!input_->ended()) {
            platform::waitForMessages(kMessageWait);
            platform::pumpMessages();
            endInputOnStopSignal();
        }
        input_->waitFor(kWorkerExitLimit);
        LOG_INFO("MainThread: InputThread WAIT_OBJECT_0");
        requestQueue.close();
        eventQueue.close();
        awaitEnd(output_, "OutputThread");
        awaitEnd(outEvent_, "OutEventThread");
        platform::pumpMessages();
    }

    bool abandonedAny() const { return abandoned_; }

private:
    // A request of the system to end the host takes the way of the end of
    // input: the call is left and the library stopped, within the same limits.
    void endInputOnStopSignal() {
        int signal = platform::stopSignal();
        if (signal == 0 || inputEnding_) return;
        inputEnding_ = true;
        LOG_INFO("MainThread: Signal [%d] received, ending as at the end of input", signal);
        input_->withHandle(platform::endStandardInput);
    }

    void awaitEnd(std::unique_ptr<Worker>& worker, const char* name) {
        if (worker->waitFor(kWorkerExitLimit)) {
            LOG_INFO("MainThread: %s WAIT_OBJECT_0", name);
            return;
        }
        LOG_INFO("MainThread: %s WAIT_TIMEOUT on EXIT, Terminating thread...", name);
        worker->abandon(platform::terminateThread);
        // The thread may still be running inside the Worker.
        worker.release();
        abandoned_ = true;
    }

    std::unique_ptr<Worker> input_;
    std::unique_ptr<Worker> output_;
    std::unique_ptr<Worker> outEvent_;
    bool abandoned_ = false;
    bool inputEnding_ = false;
};

void stopLibrary() {
    TavmoClientSynchronizeStart();
    TavmoClientStop();
    TavmoClientSynchronizeEnd();
}

}  // namespace

int hostMain(int argc, char** argv) {
    Arguments arguments = examineArguments(argc, argv);
    if (arguments.debug) hostState = HostDebug;

    TavmoClientConsoleLogConfigure(0);
    TavmoClientLogConfig logConfig = makeLogConfig();
    if (!TavmoClientInitialize(TavmoClientCallback, 0, &logConfig))
        return refuseStart("the conferencing library refused to initialise; not started");

    LOG_INFO("MainThread: TavmoClientForWeb_" TAVMO_HOST_VERSION
             " Initialized. argc: [%d], Process: [%d], Thread: [%d]",
             argc, platform::processId(), platform::threadId());
    for (int i = 0; i < argc; ++i) LOG_INFO("MainThread: TavmoClientForWeb, argv[%d]: [%s]", i, argv[i]);
    if (argc < 2) {
        LOG_ERROR("MainThread: TavmoClientForWeb, invalid number of arguments, exiting.");
        return refuseStart("started without the calling extension's origin; not started" + seeTheLog());
    }
    if (!arguments.callerAccepted && !arguments.debug) {
        LOG_ERROR("MainThread: TavmoClientForWeb, invalid extension id, exiting.");
        return refuseStart(std::string("the caller is not extension ") + kAcceptedExtensionId + "; not started" +
                           seeTheLog());
    }
    LOG_INFO("MainThread: TavmoClientForWeb Path to log files are: [%s]", logDirectoryText());
    if (*logDirectoryText() == '\0')
        LOG_ERROR("MainThread: TavmoClientForWeb, no log folder of the user's own, the log is not kept in files.");

    if (!takeInstanceLock()) {
        TavmoClientUninitialize();
        return -1;
    }

    FILE* captureFile = nullptr;
    bool notificationRegistered = false;
    bool abandonedWorker = false;
    try {
        if (separateStandardOutput(arguments.debug)) captureFile = openCaptureFile();
        enableOptionalFeatures();
        createHiddenWindow();

        platform::watchStopSignals();
        deviceWatchStarting();
        Supervisor supervisor;
        notificationRegistered = watchDevices();
        supervisor.run();
        abandonedWorker = supervisor.abandonedAny();

        LOG_INFO("MainThread: EXIT Starting cleanup...");
        eventQueue.underLock([] { hostState = HostExiting; });
        if (notificationRegistered) platform::unregisterDeviceNotification();
        UnregCamera();
    } catch (...) {
        LOG_ERROR("MainThread: Unknown Exception");
        eventQueue.underLock([] { hostState = HostExiting; });
    }

    stopLibrary();
    if (captureFile) std::fclose(captureFile);
    LOG_INFO("MainThread: EXIT");
    TavmoClientUninitialize();
    platform::releaseInstanceLock();
    if (abandonedWorker) platform::exitNow(0);
    return 0;
}
