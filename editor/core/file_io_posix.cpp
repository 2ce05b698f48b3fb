#include "file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
        out.clear();
        return FileReadStatus::Failed;
    }
    return FileReadStatus::Ok;
}

bool ReplaceFileBytes(const std::string &path, std::string_view bytes) {
    if (path.empty()) return false;
    struct stat old {};
    bool exists = ::stat(path.c_str(), &old) == 0;
    // A read-only file stays as it is, as the Windows build leaves it.
    if (exists && ::access(path.c_str(), W_OK) != 0) return false;

    std::string tmp = path + ".XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) return false;
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes);
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}
