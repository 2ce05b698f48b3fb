#pragma once
// File-level INI services with the observable results of the Windows private-profile
// functions (GetPrivateProfileStringA, GetPrivateProfileSectionA, WritePrivateProfileStringA,
// WritePrivateProfileSectionA). Each call reads the file afresh and each write reaches the
// file before it returns, unless a ProfileSnapshot is alive (see there).
#include <cstdint>
#include <string>
#include <string_view>

struct ProfileRead {
    std::string buffer; // what the service would leave in the caller's buffer, NULs included
    uint32_t count = 0; // what the service would return
};

// The key's value (blanks and one pair of matching quotes removed) or, when the section or
// key is absent, def without trailing blanks; cut to size-1 bytes (never inside a two-byte
// character), then a NUL.
// A key with an empty value gives count 0.
ProfileRead ProfileGetString(std::string_view section, std::string_view key, std::string_view def, uint32_t size,
                             const std::string &file);

// The section's non-blank lines, each ended by a NUL, then one more NUL; count excludes the last
// NUL. When that does not fit in size bytes, the first size-2 bytes arrive (the last line cut
// anywhere), then two NULs, and count is size-2. An absent section gives count 0.
ProfileRead ProfileGetSection(std::string_view section, uint32_t size, const std::string &file);

// Writes return false when the file could not be read or written; the file is then unchanged
// and ProfileWriteFailure says why.
bool ProfileWriteString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string &file);
bool ProfileDeleteKey(std::string_view section, std::string_view key, const std::string &file);
// Beyond the Windows services: deletes every key line of the section whose value (blanks
// around it removed, quotes kept) is exactly value. Returns how many went, or -1 when the
// file could not be read or written.
int ProfileDeleteLinesWithValue(std::string_view section, std::string_view value, const std::string &file);
// entries: lines each ended by a NUL; an empty line (two NULs in a row) or the end of the view
// ends the list. They replace the section's lines unchanged.
bool ProfileWriteSection(std::string_view section, std::string_view entries, const std::string &file);

// While one is alive, reads of a file reuse the first read's contents, so that a command that
// reads many values reads the file once. Every write through these services drops what was kept.
// Keep one for the length of one command only, so that another program's change shows next time.
class ProfileSnapshot {
public:
    ProfileSnapshot();
    ~ProfileSnapshot();
    ProfileSnapshot(const ProfileSnapshot &) = delete;
    ProfileSnapshot &operator=(const ProfileSnapshot &) = delete;
};

// The last write through these services that failed: the file and the system's error code.
struct ProfileFailure {
    std::string File;
    int Code = 0;
};
const ProfileFailure &ProfileWriteFailure();

// While one is alive, writes are made in memory, reads see them, and Commit writes each
// changed file once: a command of several writes changes all of them or, when a file
// cannot be written, none. Destroyed without a Commit, it writes nothing.
class ProfileBatch {
public:
    ProfileBatch();
    ~ProfileBatch();
    ProfileBatch(const ProfileBatch &) = delete;
    ProfileBatch &operator=(const ProfileBatch &) = delete;
    // False when a file could not be written (see ProfileWriteFailure); also when an edit
    // failed because the file could not be read.
    bool Commit();

private:
    bool committed_ = false;
};
