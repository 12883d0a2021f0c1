// The files a batch writes: their names, and the rule that none of them is written over a file
// the batch reads, a file it has already written, or a file a standard stream writes to.
#pragma once

#include <cstdio>
#include <string>

// `path` with the extension of its last component (the part after its last '.', if any)
// replaced by `extension`: "sub/b.hpgl" gives "sub/b.dxf", "a.b/c" gives "a.b/c.dxf".
std::string with_extension(const std::string& path, const char* extension);
// `name`'s last component placed in `folder`.
std::string in_folder(const std::string& folder, const std::string& name);

// Keeps a file from being claimed: `reason` is what the report says of it ("it is an input
// file"). A file that cannot be found is not protected (false).
bool protect_path(const char* path, const std::string& reason);
bool protect_descriptor(int fd, const std::string& reason);

// An output file opened for writing but not yet truncated.
struct Claim {
    FILE* file = nullptr;
    bool created = false; // the file did not exist before the claim
    std::string reason;   // why it could not be claimed, when `file` is null
};
// Opens `path` for writing, keeping what it holds, unless it is a protected file; once open it
// is protected in turn, as `owner` ("the DXF of a.plt").
Claim claim_output(const std::string& path, const std::string& owner);
// Gives a claim up: the file is closed, removed if the claim created it, and no longer protected.
void release_claim(Claim& claim, const std::string& path);
// Empties a claimed regular file, so that the conversion writes it from its start; false, with
// the reason, when it cannot be emptied.
bool truncate_claim(Claim& claim);
