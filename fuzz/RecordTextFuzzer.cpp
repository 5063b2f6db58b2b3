// The two ways texts go into and out of library records, with any field
// width, field content and text.
//
// Input layout: 2 bytes width (little-endian, up to kMaxWidth), the field's
// old content (width bytes, zero where the input ends first), then the text.
//
// readText gives the field up to its first NUL and never reads past it;
// copyText writes at most width - 1 bytes of the text and NUL to the field's
// end, so that readText gives the text back up to its first NUL, cut to the
// width minus one. Each field lives in a heap block of exactly its width, so
// a byte read or written past it is a finding.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzInput.h"
#include "FuzzSupport.h"
#include "Records.h"

namespace {

constexpr std::size_t kMaxWidth = 4096;

std::string fieldText(const char* field, std::size_t width) {
    const void* end = std::memchr(field, 0, width);
    return std::string(field, end ? static_cast<const char*>(end) - field : width);
}

void checkRead(const char* field, std::size_t width, const std::string& read) {
    if (read != fieldText(field, width)) fail("readText gave other bytes than the field's", read);
}

void checkCopied(const char* field, std::size_t width, std::string_view text) {
    if (width == 0) return;
    std::size_t kept = std::min(text.size(), width - 1);
    if (std::memcmp(field, text.data(), kept) != 0) fail("copyText changed the text", text);
    for (std::size_t i = kept; i < width; ++i)
        if (field[i] != 0) fail("copyText left bytes after the text", text);
    std::string_view expected = text.substr(0, kept);
    expected = expected.substr(0, expected.find('\0'));
    if (readText(field, width) != expected) fail("readText did not give the copied text back", text);
}

// The forms for fields whose width the compiler knows.
template <std::size_t Width>
void checkFixedWidth(std::string_view oldContent, std::string_view text) {
    std::unique_ptr<char[][Width]> block(new char[1][Width]);
    char(&field)[Width] = block[0];
    std::memset(field, 0, Width);
    std::memcpy(field, oldContent.data(), std::min(oldContent.size(), Width));
    checkRead(field, Width, readText(field));
    copyText(field, text);
    checkCopied(field, Width, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    std::size_t width = (input.byte() | static_cast<std::size_t>(input.byte()) << 8) % (kMaxWidth + 1);
    std::string_view oldContent = input.bytes(width);
    std::string_view text = input.bytes(size);

    std::unique_ptr<char[]> field(new char[width]);
    std::memset(field.get(), 0, width);
    std::memcpy(field.get(), oldContent.data(), oldContent.size());
    checkRead(field.get(), width, readText(field.get(), width));
    copyText(field.get(), width, text);
    checkCopied(field.get(), width, text);

    checkFixedWidth<1>(oldContent, text);
    checkFixedWidth<2>(oldContent, text);
    checkFixedWidth<65>(oldContent, text);
    checkFixedWidth<257>(oldContent, text);
    return 0;
}
