// Registration entries that are files: manifests, and the setup file on Linux.
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "Registration.h"

namespace fs = std::filesystem;

namespace registration {

namespace {

fs::path folderOf(const Entry& entry) { return (fs::u8path(entry.base) / fs::u8path(entry.relative)).make_preferred(); }

fs::path pathOf(const Entry& entry) { return folderOf(entry) / fs::u8path(entry.name); }

[[noreturn]] void fail(const std::string& what, const fs::path& path, std::error_code error) {
    throw RegistrationError(what + " " + path.u8string() + ": " + error.message(),
                            error == std::errc::permission_denied || error == std::errc::operation_not_permitted);
}

std::error_code lastError() { return std::error_code(errno ? errno : EIO, std::generic_category()); }

class FileStore : public Store {
public:
    std::optional<std::string> read(const Entry& entry) override {
        fs::path path = pathOf(entry);
        std::error_code error;
        fs::file_status status = fs::status(path, error);
        if (status.type() == fs::file_type::not_found) return std::nullopt;
        if (error) fail("cannot read", path, error);
        errno = 0;
        std::ifstream file(path, std::ios::binary);
        if (!file) fail("cannot read", path, lastError());
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    // Through a file beside it that then takes its place, so that a browser
    // never reads half a manifest.
    void write(const Entry& entry) override {
        fs::path path = pathOf(entry);
        std::error_code error;
        fs::create_directories(folderOf(entry), error);
        if (error) fail("cannot create the folder for", path, error);
        fs::path fresh = path;
        fresh += ".new";
        errno = 0;
        std::ofstream file(fresh, std::ios::binary | std::ios::trunc);
        if (!file) fail("cannot write", path, lastError());
        file << entry.content;
        file.close();
        if (!file) error = lastError();
        if (!error) fs::rename(fresh, path, error);
        if (error) {
            std::error_code ignored;
            fs::remove(fresh, ignored);
            fail("cannot write", path, error);
        }
    }

    void erase(const Entry& entry) override {
        fs::path path = pathOf(entry);
        std::error_code error;
        fs::remove(path, error);
        if (error) fail("cannot remove", path, error);
        fs::path relative = fs::u8path(entry.relative);
        fs::path folder = folderOf(entry);
        for (auto part = relative.begin(); part != relative.end(); ++part) {
            if (!fs::is_empty(folder, error) || error || !fs::remove(folder, error)) break;
            folder = folder.parent_path();
        }
    }

    std::string location(const Entry& entry) const override { return pathOf(entry).u8string(); }
};

}  // namespace

Store& fileStore() {
    static FileStore store;
    return store;
}

}  // namespace registration
