#include "RequestHandler/DesktopTable.h"

#include <array>

namespace {

std::array<std::string, kDesktopTableSize>& table() {
    static std::array<std::string, kDesktopTableSize> devices;
    return devices;
}

}  // namespace

void storeDesktopDevice(std::size_t index, const std::string& device) {
    if (index < kDesktopTableSize) table()[index] = device;
}

std::string desktopDevice(std::size_t index) { return index < kDesktopTableSize ? table()[index] : std::string(); }

void clearDesktopTable() { table().fill(std::string()); }
