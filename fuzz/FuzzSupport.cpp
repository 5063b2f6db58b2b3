#include "FuzzSupport.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "Frames.h"
#include "TavmoAgent.h"

namespace {

// Never freed: the clean-up at exit still reads it.
const std::filesystem::path* quietFolder = nullptr;

void removeQuietFolder() { std::filesystem::remove_all(*quietFolder); }

// Nothing before, after or inside the object that is not its own. Keys may
// repeat: the JSON library writes distinct keys that are not UTF-8 alike,
// which the browser's never are.
bool isOneObjectLine(const std::string& body, Json::Value& message) {
    static const std::unique_ptr<Json::CharReader> reader = [] {
        Json::CharReaderBuilder builder;
        builder["failIfExtra"] = true;
        builder["strictRoot"] = true;
        builder["allowComments"] = false;
        return std::unique_ptr<Json::CharReader>(builder.newCharReader());
    }();
    return body.size() >= 3 && body.front() == '{' && body.compare(body.size() - 2, 2, "}\n") == 0 &&
           reader->parse(body.data(), body.data() + body.size(), &message, nullptr) && message.isObject();
}

}  // namespace

void prepareQuietEnvironment() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavmo-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    quietFolder = new std::filesystem::path(pattern);
    std::atexit(removeQuietFolder);
    ::setenv("LOCALAPPDATA", (*quietFolder / "appdata").c_str(), 1);
    ::setenv("TMPDIR", quietFolder->c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", quietFolder->c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (*quietFolder / "no-installation").c_str(), 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
}

void fail(const std::string& what, std::string_view detail) {
    std::fprintf(stderr, "\n==== %s\n%.*s\n", what.c_str(), static_cast<int>(detail.size()), detail.data());
    std::abort();
}

WrittenMessages::WrittenMessages() {
    stream_ = ::open_memstream(&buffer_, &length_);
    if (!stream_) std::abort();
    TavmoAgent::setOutputStream(stream_);
}

WrittenMessages::~WrittenMessages() {
    TavmoAgent::setOutputStream(nullptr);
    std::fclose(stream_);
    std::free(buffer_);
}

std::size_t WrittenMessages::size() {
    std::fflush(stream_);
    return length_;
}

std::vector<Json::Value> WrittenMessages::since(std::size_t offset, bool debug) {
    std::string_view bytes(buffer_ + offset, size() - offset);
    std::vector<std::string> bodies;
    if (!(debug ? splitLines(bytes, bodies) : splitFrames(bytes, bodies))) fail("output is not whole messages", bytes);
    std::vector<Json::Value> messages;
    for (const std::string& body : bodies) {
        Json::Value message;
        if (!isOneObjectLine(body, message)) fail("a message is not one JSON object and a newline", body);
        if (!message["_direction"].isIntegral() || message["_direction"].asInt64() != 2)
            fail("\"_direction\" is not 2", body);
        messages.push_back(std::move(message));
    }
    return messages;
}
