// Domains the user approved, kept one per line in ApprovedDomains.txt in the
// data directory so that they survive a restart of the host. The file is read
// on every query rather than cached, so a changed data directory, or a file
// edited while the host runs, needs no bookkeeping.
#pragma once

#include <filesystem>
#include <string>

namespace standin {

// Domains compare without regard to ASCII case, as host names do.
bool domainListed(const std::filesystem::path& dataDirectory, const std::string& domain);

// False for an empty domain or one holding a blank or line break, which could
// not be read back as the same single line.
bool storableDomain(const std::string& domain);

// Appends the domain unless it is already listed. False when the file cannot
// be written or the domain is not storable.
bool saveDomain(const std::filesystem::path& dataDirectory, const std::string& domain);

bool sameDomain(const std::string& a, const std::string& b);

}  // namespace standin
