// The desktops as the page last received them: the device text of each, by
// the index that the share in-event names. Lives for the whole process and is
// empty at start. Only the output thread uses it, so it takes no lock.
#pragma once

#include <cstddef>
#include <string>

inline constexpr std::size_t kDesktopTableSize = 16;

// Entries are only ever overwritten, never cleared, by a new listing.
void storeDesktopDevice(std::size_t index, const std::string& device);

// Empty for a desktop never listed and for an index outside the table.
std::string desktopDevice(std::size_t index);

// Back to the start-up state, for tests.
void clearDesktopTable();
