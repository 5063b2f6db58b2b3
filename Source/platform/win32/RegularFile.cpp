// Opening a file the page names, on Windows.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace platform {

namespace {

std::wstring wide(const std::string& text) {
    int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return L"";
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), &out[0], length);
    return out;
}

}  // namespace

FILE* openRegularFile(const std::string& path, int64_t& size) {
    std::wstring widePath = wide(path);
    if (widePath.empty()) return nullptr;
    // A folder cannot be opened without FILE_FLAG_BACKUP_SEMANTICS; pipes,
    // consoles and devices open, and are told apart by their file type.
    HANDLE handle = CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER length{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &length)) {
        CloseHandle(handle);
        return nullptr;
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    FILE* file = _fdopen(fd, "rb");
    if (!file) {
        _close(fd);
        return nullptr;
    }
    size = static_cast<int64_t>(length.QuadPart);
    return file;
}

}  // namespace platform
