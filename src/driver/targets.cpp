// Claims on the files a batch writes. Every file the batch must not write over (its inputs,
// the files of the standard streams, each output once claimed) is kept by its identity, device
// and inode, so that another name for it (a link, "./a.dxf") is recognized too. Invariant: a
// claim never truncates or creates a protected file, and a released claim leaves a file it
// created removed and a file it found as it was.
#include "driver/targets.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

namespace {

using Identity = std::pair<dev_t, ino_t>;

std::map<Identity, std::string> protected_files; // the reason told for each

Identity identity_of(const struct stat& s) {
    return {s.st_dev, s.st_ino};
}

size_t last_component_start(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

} // namespace

std::string with_extension(const std::string& path, const char* extension) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < last_component_start(path)) return path + extension;
    return path.substr(0, dot) + extension;
}

std::string in_folder(const std::string& folder, const std::string& name) {
    std::string last = name.substr(last_component_start(name));
    return folder.ends_with('/') ? folder + last : folder + "/" + last;
}

bool protect_path(const char* path, const std::string& reason) {
    struct stat s;
    if (stat(path, &s) != 0) return false;
    protected_files.emplace(identity_of(s), reason);
    return true;
}

bool protect_descriptor(int fd, const std::string& reason) {
    struct stat s;
    if (fstat(fd, &s) != 0 || !S_ISREG(s.st_mode)) return false;
    protected_files.emplace(identity_of(s), reason);
    return true;
}

Claim claim_output(const std::string& path, const std::string& owner) {
    Claim claim;
    struct stat s;
    bool existed = stat(path.c_str(), &s) == 0;
    if (existed) {
        auto found = protected_files.find(identity_of(s));
        if (found != protected_files.end()) {
            claim.reason = found->second;
            return claim;
        }
    }
    // Not truncated yet: a run whose log cannot be claimed leaves its DXF as it was.
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 || fstat(fd, &s) != 0 || !(claim.file = fdopen(fd, "w"))) {
        claim.reason = strerror(errno);
        if (fd >= 0) close(fd);
        return claim;
    }
    claim.created = !existed;
    protected_files.emplace(identity_of(s), "it is " + owner);
    return claim;
}

void release_claim(Claim& claim, const std::string& path) {
    struct stat s;
    if (fstat(fileno(claim.file), &s) == 0) protected_files.erase(identity_of(s));
    fclose(claim.file);
    if (claim.created) unlink(path.c_str());
    claim.file = nullptr;
}

bool truncate_claim(Claim& claim) {
    struct stat s;
    int fd = fileno(claim.file);
    if (fstat(fd, &s) != 0 || !S_ISREG(s.st_mode) || ftruncate(fd, 0) == 0) return true;
    claim.reason = strerror(errno);
    return false;
}
