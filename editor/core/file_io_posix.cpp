#include "file_io.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

thread_local int g_lastError = 0;

bool Fail(int code) {
    g_lastError = code;
    return false;
}

struct FileCloser {
    void operator()(FILE *f) const { std::fclose(f); }
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

FileReadStatus ReadFileBytes(const std::string &path, std::string &out) {
    out.clear();
    FILE *raw = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (!raw) {
        g_lastError = path.empty() ? ENOENT : errno;
        return (path.empty() || errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::Missing
                                                                    : FileReadStatus::Failed;
    }
    std::unique_ptr<FILE, FileCloser> f(raw);
    struct stat st {};
    if (::fstat(::fileno(f.get()), &st) == 0 && st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) {
        out.append(buf, n);
    }
    if (std::ferror(f.get())) {
        g_lastError = errno ? errno : EIO;
        out.clear();
        return FileReadStatus::Failed;
    }
    return FileReadStatus::Ok;
}

bool ReplaceFileBytes(const std::string &given, std::string_view bytes) {
    if (given.empty()) return Fail(ENOENT);
    std::string path = given;
    // Through a symbolic link: replace the file it points to, not the link.
    struct stat link {};
    if (::lstat(given.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char resolved[PATH_MAX];
        if (!::realpath(given.c_str(), resolved)) return Fail(errno);
        path = resolved;
    }
    struct stat old {};
    bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return Fail(EISDIR);
    // A read-only file stays as it is, as the Windows build leaves it (whoever runs us).
    if (exists && ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0))
        return Fail(EACCES);

    std::string tmp = path + ".XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) return Fail(errno);
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes);
    int err = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        return Fail(err ? err : EIO);
    }
    return true;
}

int LastFileError() { return g_lastError; }

std::u16string FileErrorText(int code) {
    std::u16string out;
    for (const char *p = std::strerror(code); *p; ++p) out.push_back(static_cast<unsigned char>(*p));
    return out;
}
