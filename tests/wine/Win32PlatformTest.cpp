// The Windows platform layer against the real system calls (run under Wine).
#include <fcntl.h>
#include <io.h>
#include <pthread.h>
#include <windows.h>
// After windows.h, which it needs.
#include <dbt.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "DeviceNotifications.h"
#include "HostFixture.h"
#include "HostState.h"
#include "TavmoFacts.h"
#include "Worker.h"
#include "platform/Platform.h"
#include "resource.h"

namespace {

// Only guards against a wait that never ends; nothing is measured.
constexpr std::chrono::minutes kHangGuard{2};

// Runs `action` on a thread of its own; false if it has not returned within
// kHangGuard (the thread is then left behind).
bool returns(std::function<void()> action) {
    std::promise<void> finished;
    std::future<void> done = finished.get_future();
    std::thread([action = std::move(action), finished = std::move(finished)]() mutable {
        action();
        finished.set_value();
    }).detach();
    return done.wait_for(kHangGuard) == std::future_status::ready;
}

std::string windowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string temporaryPathFor(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name + std::to_string(GetCurrentProcessId());
}

// ---------------------------------------------------------------------------

TEST(InstanceLock, ASecondOwnerIsRefusedUntilTheFirstReleases) {
    const char* name = "TavmoPlatformTestLock";
    platform::InstanceLock first = platform::acquireInstanceLock(name);
    ASSERT_EQ(first.state, platform::InstanceLockState::Owned);
    EXPECT_NE(first.handle, 0u);

    platform::InstanceLock second = platform::acquireInstanceLock(name);
    EXPECT_EQ(second.state, platform::InstanceLockState::HeldElsewhere);
    EXPECT_EQ(second.systemError, ERROR_ALREADY_EXISTS);

    // Had the refused attempt kept its handle, the lock would outlive the release.
    platform::releaseInstanceLock();
    EXPECT_EQ(platform::acquireInstanceLock(name).state, platform::InstanceLockState::Owned);
    platform::releaseInstanceLock();
}

TEST(InstanceLock, ANameTheSystemRejectsIsAFailureWithItsError) {
    platform::InstanceLock lock = platform::acquireInstanceLock("No\\Such\\Namespace");
    EXPECT_EQ(lock.state, platform::InstanceLockState::Failed);
    EXPECT_NE(lock.systemError, 0);
    EXPECT_EQ(platform::acquireInstanceLock("TavmoPlatformTestLock").state, platform::InstanceLockState::Owned);
    platform::releaseInstanceLock();
}

// ---------------------------------------------------------------------------

struct StreamCase {
    const char* label;
    bool debug;
    std::string expected;
};

class StandardOutputCopy : public ::testing::TestWithParam<StreamCase> {};

// The start-up's steps on descriptor 1: a copy, binary mode unless in debug
// mode, and a stream on the copy.
TEST_P(StandardOutputCopy, WritesFramesAsTheModeSays) {
    const std::string path = temporaryPathFor("TavmoStreamTest");
    int file = _open(path.c_str(), _O_CREAT | _O_TRUNC | _O_WRONLY, _S_IREAD | _S_IWRITE);
    ASSERT_GE(file, 0);
    std::fflush(stdout);
    int savedOutput = _dup(1);
    _dup2(file, 1);
    _close(file);

    int copy = platform::duplicateStandardOutput();
    if (!GetParam().debug) platform::setBinaryMode(copy);
    FILE* stream = platform::openStream(copy, GetParam().debug ? "a" : "ab");
    _dup2(savedOutput, 1);
    _close(savedOutput);
    ASSERT_NE(copy, -1);
    ASSERT_NE(stream, nullptr);
    const std::string frame("\x05\x00\x00\x00{\x1a}\r\n", 9);
    std::fwrite(frame.data(), 1, frame.size(), stream);
    std::fclose(stream);

    FILE* written = std::fopen(path.c_str(), "rb");
    ASSERT_NE(written, nullptr);
    char bytes[64];
    std::size_t length = std::fread(bytes, 1, sizeof bytes, written);
    std::fclose(written);
    std::remove(path.c_str());
    EXPECT_EQ(std::string(bytes, length), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, StandardOutputCopy,
                         ::testing::Values(StreamCase{"NormalModeWritesEveryByteAsItIs", false,
                                                      std::string("\x05\x00\x00\x00{\x1a}\r\n", 9)},
                                           StreamCase{"DebugModeWritesLineEndsAsCrLf", true,
                                                      std::string("\x05\x00\x00\x00{\x1a}\r\r\n", 10)}),
                         [](const ::testing::TestParamInfo<StreamCase>& info) { return info.param.label; });

// ---------------------------------------------------------------------------

class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::string& value) : name_(name) {
        const char* old = std::getenv(name);
        if (old) old_ = old;
        had_ = old != nullptr;
        _putenv_s(name, value.c_str());
    }
    ~EnvironmentVariable() { _putenv_s(name_, had_ ? old_.c_str() : ""); }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

struct TemporaryFolderCase {
    const char* label;
    std::string tmp;
    std::string expected;
};

class TemporaryFolder : public ::testing::TestWithParam<TemporaryFolderCase> {};

TEST_P(TemporaryFolder, ComesWithItsSeparatorOrNotAtAll) {
    EnvironmentVariable tmp("TMP", GetParam().tmp);
    EXPECT_EQ(platform::temporaryFolder(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TemporaryFolder,
    ::testing::Values(TemporaryFolderCase{"FolderGetsItsSeparator", "C:\\TavmoTemp", "C:\\TavmoTemp\\"},
                      TemporaryFolderCase{"SeparatorIsNotDoubled", "C:\\TavmoTemp\\", "C:\\TavmoTemp\\"},
                      TemporaryFolderCase{"FolderTooLongForAPathIsNone", "C:\\" + std::string(300, 'a'), ""}),
    [](const ::testing::TestParamInfo<TemporaryFolderCase>& info) { return info.param.label; });

// ---------------------------------------------------------------------------
// The setup record of the current user and of the machine: absent (nullptr),
// a key without the value (""), or the value.
struct SetupRecordCase {
    const char* label;
    const char* user;
    const char* machine;
    platform::SetupLookup lookup;
    std::string folder;
};

class SetupRecord : public ::testing::TestWithParam<SetupRecordCase> {
protected:
    static constexpr const char* kSetupKey = TAVMO_SETUP_KEY;

    void SetUp() override { removeRecords(); }
    void TearDown() override { removeRecords(); }

    static void write(HKEY hive, const char* folder) {
        if (!folder) return;
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(hive, kSetupKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        if (*folder)
            RegSetValueExA(key, TAVMO_SETUP_ENTRY, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                           static_cast<DWORD>(std::strlen(folder) + 1));
        RegCloseKey(key);
    }

    // The record and the keys above it that it leaves empty.
    static void removeRecords() {
        for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            for (const char* key : {kSetupKey, "Software\\Tavmo\\TavmoClientForWeb", "Software\\Tavmo"})
                RegDeleteKeyA(hive, key);
    }
};

TEST_P(SetupRecord, TheUsersRecordComesFirstThenTheMachines) {
    write(HKEY_CURRENT_USER, GetParam().user);
    write(HKEY_LOCAL_MACHINE, GetParam().machine);
    platform::InstallationFolder found = platform::installationFolder();
    EXPECT_EQ(found.lookup, GetParam().lookup);
    EXPECT_EQ(found.folder, GetParam().folder);
    EXPECT_EQ(found.systemError, GetParam().lookup == platform::SetupLookup::Found ? 0 : ERROR_FILE_NOT_FOUND);
}

INSTANTIATE_TEST_SUITE_P(
    Records, SetupRecord,
    ::testing::Values(
        SetupRecordCase{"UserOnly", "C:\\User\\", nullptr, platform::SetupLookup::Found, "C:\\User\\"},
        SetupRecordCase{"MachineOnly", nullptr, "C:\\Machine\\", platform::SetupLookup::Found, "C:\\Machine\\"},
        SetupRecordCase{"BothTheUsers", "C:\\User\\", "C:\\Machine\\", platform::SetupLookup::Found, "C:\\User\\"},
        SetupRecordCase{"UsersKeyWithoutFolderIsNotPassedOver", "", "C:\\Machine\\", platform::SetupLookup::NoFolder,
                        ""},
        SetupRecordCase{"Neither", nullptr, nullptr, platform::SetupLookup::NoSetup, ""}),
    [](const ::testing::TestParamInfo<SetupRecordCase>& info) { return info.param.label; });

TEST(LogDirectory, IsCreatedWithItsParentsUnderLocalAppData) {
    for (const char* separator : {"", "\\"}) {
        const std::string base = temporaryPathFor("TavmoAppData") + separator;
        EnvironmentVariable localAppData("LOCALAPPDATA", base);
        const std::string expected = temporaryPathFor("TavmoAppData") + "\\Tavmo\\Data\\User\\";
        EXPECT_EQ(platform::logDirectory(), expected) << "LOCALAPPDATA " << base;
        DWORD attributes = GetFileAttributesA(expected.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << expected;
    }
}

TEST(LogDirectory, WithoutLocalAppDataIsCreatedInTheTemporaryFolder) {
    const std::string temporary = temporaryPathFor("TavmoNoAppData");
    EnvironmentVariable localAppData("LOCALAPPDATA", "");
    EnvironmentVariable tmp("TMP", temporary);
    const std::string folder = platform::logDirectory();
    EXPECT_EQ(folder, temporary + "\\Tavmo\\Data\\User\\");
    DWORD attributes = GetFileAttributesA(folder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << folder;
}

// ---------------------------------------------------------------------------

class HiddenWindow : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        window_ = static_cast<HWND>(platform::createHiddenWindow(onVideoDeviceChange));
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        HostFixture::TearDown();
    }

    HWND window_ = nullptr;
};

TEST_F(HiddenWindow, IsAnInvisiblePopupOfItsOwnClass) {
    EXPECT_EQ(className(window_), "TavmoClientForWeb");
    EXPECT_EQ(windowText(window_), "TavmoClientForWeb");
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(GetWindowLongA(window_, GWL_STYLE) & ~WS_CLIPSIBLINGS, static_cast<LONG>(WS_POPUP));
    EXPECT_FALSE(IsWindowVisible(window_));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(window_, &rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right - rect.left, 1920);
    EXPECT_EQ(rect.bottom - rect.top, 1080);
}

TEST_F(HiddenWindow, RegistersForVideoDeviceNotifications) {
    uintptr_t handle = 0;
    int error = 0;
    ASSERT_TRUE(platform::registerDeviceNotification(window_, handle, error)) << error;
    EXPECT_NE(handle, 0u);
    platform::unregisterDeviceNotification();
}

TEST_F(HiddenWindow, WithoutAWindowNotificationsFailWithTheSystemsError) {
    uintptr_t handle = 0;
    int error = 0;
    EXPECT_FALSE(platform::registerDeviceNotification(nullptr, handle, error));
    EXPECT_NE(error, 0);
}

struct DeviceMessage {
    const char* label;
    WPARAM change;
    DWORD deviceType;
    std::string name;
    // Bytes of the name inside the declared size; -1 for the name and its NUL.
    int declaredNameBytes;
    int32_t cameraBefore;
    int32_t cameraAfter;
    // Empty when nothing may be logged.
    std::string logLine;
};

class DeviceChange : public HiddenWindow, public ::testing::WithParamInterface<DeviceMessage> {};

TEST_P(DeviceChange, SetsTheCameraFlagForTheVirtualCameraOnly) {
    const DeviceMessage& sent = GetParam();
    constexpr std::size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
    std::vector<unsigned char> block(nameOffset + sent.name.size() + 1 + 16, 'x');
    auto* device = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(block.data());
    std::size_t nameBytes = sent.declaredNameBytes < 0 ? sent.name.size() + 1 : sent.declaredNameBytes;
    device->dbcc_size = static_cast<DWORD>(nameOffset + nameBytes);
    device->dbcc_devicetype = sent.deviceType;
    device->dbcc_reserved = 0;
    std::copy(sent.name.begin(), sent.name.end(), device->dbcc_name);
    device->dbcc_name[sent.name.size()] = '\0';
    if (sent.declaredNameBytes >= 0) device->dbcc_name[sent.name.size()] = 'x';
    iCamera = sent.cameraBefore;

    EXPECT_EQ(SendMessageA(window_, WM_DEVICECHANGE, sent.change, reinterpret_cast<LPARAM>(block.data())), 0);

    EXPECT_EQ(iCamera.load(), sent.cameraAfter);
    if (sent.logLine.empty())
        EXPECT_TRUE(fake::logTexts().empty());
    else
        EXPECT_EQ(fake::logTexts(3), std::vector<std::string>{sent.logLine});
}

const std::string kCamera = "DidErorovIdezireRozova";

INSTANTIATE_TEST_SUITE_P(
    Messages, DeviceChange,
    ::testing::Values(
        DeviceMessage{"ArrivalOfTheCameraSetsTheFlag", DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, kCamera, -1, 0, 1,
                      "MainThread: TavmoClientForWeb received DBT_DEVICEARRIVAL Camera: [DidErorovIdezireRozova], "
                      "iCamera: [1]"},
        DeviceMessage{"RemovalOfTheCameraClearsTheFlag", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, kCamera,
                      -1, 1, 0,
                      "MainThread: TavmoClientForWeb received DBT_DEVICEREMOVECOMPLETE Camera: "
                      "[DidErorovIdezireRozova], iCamera: [0]"},
        DeviceMessage{"OtherDeviceIsLoggedAndLeavesTheFlag", DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, "Webcam",
                      -1, 1, 1,
                      "MainThread: TavmoClientForWeb received DBT_DEVICEARRIVAL Camera: [Webcam], iCamera: [1]"},
        DeviceMessage{"NameComparesWithCase", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE,
                      "diderorovidezirerozova", -1, 1, 1,
                      "MainThread: TavmoClientForWeb received DBT_DEVICEREMOVECOMPLETE Camera: "
                      "[diderorovidezirerozova], iCamera: [1]"},
        DeviceMessage{"NameIsReadOnlyWithinTheDeclaredSize", DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, kCamera, 5,
                      0, 0, "MainThread: TavmoClientForWeb received DBT_DEVICEARRIVAL Camera: [DidEr], iCamera: [0]"},
        DeviceMessage{"OtherDeviceTypesAreIgnored", DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, kCamera, -1, 0, 0, ""},
        DeviceMessage{"OtherChangesAreIgnored", DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_DEVICEINTERFACE, kCamera, -1, 1, 1,
                      ""}),
    [](const ::testing::TestParamInfo<DeviceMessage>& info) { return info.param.label; });

TEST_F(HiddenWindow, ADeviceChangeWithoutDetailsIsIgnored) {
    EXPECT_EQ(SendMessageA(window_, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0), 0);
    EXPECT_TRUE(fake::logTexts().empty());
}

// ---------------------------------------------------------------------------

TEST_F(HiddenWindow, PumpHandlesEveryWaitingMessageAndLogsIt) {
    PostMessageA(window_, WM_APP, 0, 0);
    PostMessageA(window_, WM_APP + 1, 0, 0);
    platform::pumpMessages();
    EXPECT_EQ(fake::logTexts(3), (std::vector<std::string>{"MainThread: PeekMessage(...) message: [32768]",
                                                           "MainThread: PeekMessage(...) message: [32769]"}));
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(HiddenWindow, AQuitMessageEndsOnlyThePassItIsMetIn) {
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    PostMessageA(window_, WM_APP, 0, 0);
    platform::pumpMessages();
    EXPECT_TRUE(fake::logTexts().empty());
    platform::pumpMessages();
    EXPECT_EQ(fake::logTexts(3), std::vector<std::string>{"MainThread: PeekMessage(...) message: [32768]"});
}

TEST_F(HiddenWindow, ClosingTheWindowDestroysIt) {
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
    platform::pumpMessages();
    EXPECT_TRUE(fake::logTexts().empty()) << "the quit message is not logged";
}

// ---------------------------------------------------------------------------

TEST(MainThreadWait, AWakeGivenBeforeTheWaitIsKept) {
    platform::wakeMainThread();
    EXPECT_TRUE(returns([] { platform::waitForMessages(std::chrono::hours(1)); }));
}

TEST(MainThreadWait, AWakeFromAnotherThreadEndsTheWait) {
    std::thread waker([] {
        Sleep(50);
        platform::wakeMainThread();
    });
    EXPECT_TRUE(returns([] { platform::waitForMessages(std::chrono::hours(1)); }));
    waker.join();
}

TEST(MainThreadWait, AMessageAlreadySeenButStillQueuedEndsTheWait) {
    EXPECT_TRUE(returns([] {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        platform::waitForMessages(std::chrono::hours(1));
    }));
}

// ---------------------------------------------------------------------------

TEST(TerminateThread, EndsAnAbandonedWorkerWithExitCodeMinusOne) {
    HANDLE running = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto* worker = new Worker([running, never] {
        SetEvent(running);
        WaitForSingleObject(never, INFINITE);
    });
    // As a worker that hangs would be: inside its own code, not still starting
    // up in the thread library (whose locks it would then take along).
    ASSERT_EQ(WaitForSingleObject(running, std::chrono::milliseconds(kHangGuard).count()), WAIT_OBJECT_0);
    HANDLE observed = nullptr;
    worker->abandon([&observed](std::thread::native_handle_type native) {
        DuplicateHandle(GetCurrentProcess(), pthread_gethandle(native), GetCurrentProcess(), &observed, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        platform::terminateThread(native);
    });
    ASSERT_NE(observed, nullptr);

    ASSERT_EQ(WaitForSingleObject(observed, std::chrono::milliseconds(kHangGuard).count()), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(observed, &exitCode));
    EXPECT_EQ(exitCode, static_cast<DWORD>(-1));
    delete worker;
    CloseHandle(observed);
    CloseHandle(never);
    CloseHandle(running);
}

// ---------------------------------------------------------------------------

struct DialogControl {
    int id;
    const char* windowClass;
    // Button kind (BS_...) or static kind (SS_...).
    LONG kind;
    std::string text;
    RECT dialogUnits;  // left, top, width, height
};

struct DialogLayout {
    const char* label;
    int resource;
    SIZE dialogUnits;
    std::vector<DialogControl> controls;
};

INT_PTR CALLBACK inertDialogProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class DialogResource : public ::testing::TestWithParam<DialogLayout> {};

TEST_P(DialogResource, HasExactlyTheListedControls) {
    const DialogLayout& layout = GetParam();
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(layout.resource), nullptr,
                                     inertDialogProcedure, 0);
    ASSERT_NE(dialog, nullptr);

    const LONG frame = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & frame, frame);
    RECT expectedClient{0, 0, layout.dialogUnits.cx, layout.dialogUnits.cy};
    MapDialogRect(dialog, &expectedClient);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, expectedClient.right);
    EXPECT_EQ(client.bottom, expectedClient.bottom);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Shell Dlg");

    int children = 0;
    EnumChildWindows(dialog, countChild, reinterpret_cast<LPARAM>(&children));
    EXPECT_EQ(children, static_cast<int>(layout.controls.size()));
    for (const DialogControl& expected : layout.controls) {
        SCOPED_TRACE(expected.id);
        HWND control = GetDlgItem(dialog, expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(className(control), expected.windowClass);
        EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & 0x1F, expected.kind);
        EXPECT_EQ(windowText(control), expected.text);
        // The dialog manager converts position and size each on its own.
        RECT want = expected.dialogUnits;
        MapDialogRect(dialog, &want);
        RECT got;
        GetWindowRect(control, &got);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        EXPECT_EQ(got.right - got.left, want.right);
        EXPECT_EQ(got.bottom - got.top, want.bottom);
    }
    DestroyWindow(dialog);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogResource,
    ::testing::Values(
        DialogLayout{"Approval",
                     IDD_APPROVAL,
                     {400, 100},
                     {{IDC_APPROVAL_DOMAIN, "Static", SS_LEFT, "", {7, 7, 386, 11}},
                      {IDC_APPROVAL_QUESTION,
                       "Static",
                       SS_LEFT,
                       "is requesting your permission to use your camera and microphone for a video conference.\n\n"
                       "Do you agree?",
                       {20, 23, 357, 34}},
                      {IDC_APPROVAL_YES, "Button", BS_PUSHBUTTON, "Yes", {61, 62, 70, 15}},
                      {IDC_APPROVAL_NO, "Button", BS_PUSHBUTTON, "No", {270, 62, 70, 15}},
                      {IDC_APPROVAL_REMEMBER,
                       "Button",
                       BS_AUTOCHECKBOX,
                       "If Yes, do not ask again for this website.",
                       {7, 83, 386, 10}}}},
        DialogLayout{"Refusal",
                     IDD_REFUSAL,
                     {316, 90},
                     {{IDC_STATIC,
                       "Static",
                       SS_LEFT,
                       "\nYou have selected not to join the video conference.\n\nIf you want to change your mind and "
                       "join,\n\nplease click Join.",
                       {23, 7, 270, 56}},
                      {IDC_REFUSAL_OK, "Button", BS_PUSHBUTTON, "OK", {40, 69, 70, 14}},
                      {IDC_REFUSAL_JOIN, "Button", BS_PUSHBUTTON, "Join", {206, 69, 70, 14}}}}),
    [](const ::testing::TestParamInfo<DialogLayout>& info) { return info.param.label; });

}  // namespace
