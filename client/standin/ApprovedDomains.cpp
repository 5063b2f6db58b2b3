#include "ApprovedDomains.h"

#include <cctype>
#include <fstream>
#include <system_error>

namespace standin {
namespace {

std::filesystem::path domainsFile(const std::filesystem::path& dataDirectory) {
    return dataDirectory / "ApprovedDomains.txt";
}

// A file edited by hand may lack the final line break; appending straight
// after it would glue the new domain onto the last one.
bool endsMidLine(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file || file.tellg() <= 0) return false;
    file.seekg(-1, std::ios::end);
    char last = '\n';
    file.get(last);
    return last != '\n';
}

}  // namespace

bool storableDomain(const std::string& domain) {
    if (domain.empty()) return false;
    for (const char c : domain) {
        if (std::isspace(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

bool sameDomain(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool domainListed(const std::filesystem::path& dataDirectory, const std::string& domain) {
    if (dataDirectory.empty() || domain.empty()) return false;
    std::ifstream file(domainsFile(dataDirectory), std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (sameDomain(line, domain)) return true;
    }
    return false;
}

bool saveDomain(const std::filesystem::path& dataDirectory, const std::string& domain) {
    if (dataDirectory.empty() || !storableDomain(domain)) return false;
    if (domainListed(dataDirectory, domain)) return true;
    std::error_code error;
    std::filesystem::create_directories(dataDirectory, error);
    const auto path = domainsFile(dataDirectory);
    const bool separate = endsMidLine(path);
    std::ofstream file(path, std::ios::binary | std::ios::app);
    if (separate) file << '\n';
    file << domain << '\n';
    file.flush();
    return static_cast<bool>(file);
}

}  // namespace standin
