// The operating system's file system (POSIX).
#include "platform/files/file_system.h"

#include <atomic>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace keystride {

namespace {

// Closes a descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now and reports the close's own failure (a full disk can show up only here).
    int close() {
        int result = 0;
        if (m_fd >= 0 && ::close(m_fd) != 0)
            result = errno;
        m_fd = -1;
        return result;
    }
    void reset() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

// Writes all of `bytes`, continuing after partial writes; 0 or the errno of the failure.
int writeFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class PosixFileSystem final : public FileSystem {
public:
    bool exists(const std::string& path) const override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0;
    }

    bool isFile(const std::string& path) const override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }

    ReadResult readAll(const std::string& path, std::size_t limit) const override {
        ReadResult result;
        FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (!fd.valid()) {
            result.error = fileErrorFromErrno(errno, path, FileOperation::Read);
            return result;
        }
        struct stat info {};
        if (::fstat(fd.get(), &info) != 0) {
            result.error = fileErrorFromErrno(errno, path, FileOperation::Read);
            return result;
        }
        if (S_ISDIR(info.st_mode)) {
            result.error = fileErrorFromErrno(EISDIR, path, FileOperation::Read);
            return result;
        }
        if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > limit) {
            result.error = tooLarge(path, limit);
            return result;
        }
        if (S_ISREG(info.st_mode))
            result.bytes.reserve(static_cast<std::size_t>(info.st_size));
        // Read until the end rather than trusting the size: the file may grow, or not be a
        // regular file at all; the limit still holds.
        char buffer[64 * 1024];
        for (;;) {
            ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                result.error = fileErrorFromErrno(errno, path, FileOperation::Read);
                result.bytes.clear();
                return result;
            }
            if (got == 0)
                break;
            if (result.bytes.size() + static_cast<std::size_t>(got) > limit) {
                result.error = tooLarge(path, limit);
                result.bytes.clear();
                return result;
            }
            result.bytes.append(buffer, static_cast<std::size_t>(got));
        }
        return result;
    }

    FileResult writeAtomic(const std::string& path, std::string_view bytes) override {
        const std::string folder = folderOf(path);
        std::string tempPath;
        int raw = -1;
        // A name of our own beside the target, so the rename stays within one file system.
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
            tempPath = folder + "/." + nameOf(path) + ".ks-" + std::to_string(::getpid()) + "-" +
                       std::to_string(counter.fetch_add(1)) + ".tmp";
            raw = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (raw < 0 && errno != EEXIST)
                return fileErrorFromErrno(errno, path, FileOperation::Write);
        }
        if (raw < 0)
            return fileErrorFromErrno(EEXIST, path, FileOperation::Write);
        FileDescriptor fd(raw);

        auto fail = [&](int errnoValue) -> FileResult {
            fd.reset();
            ::unlink(tempPath.c_str());
            return fileErrorFromErrno(errnoValue, path, FileOperation::Write);
        };
        // Keep the permissions of the file being replaced.
        struct stat existing {};
        if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
            ::fchmod(fd.get(), existing.st_mode & 07777);
        if (int error = writeFully(fd.get(), bytes))
            return fail(error);
        if (::fsync(fd.get()) != 0)
            return fail(errno);
        if (int error = fd.close()) {
            ::unlink(tempPath.c_str());
            return fileErrorFromErrno(error, path, FileOperation::Write);
        }
        if (::rename(tempPath.c_str(), path.c_str()) != 0) {
            int error = errno;
            ::unlink(tempPath.c_str());
            return fileErrorFromErrno(error, path, FileOperation::Write);
        }
        // Make the rename itself durable; a failure here leaves a complete file in place.
        FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.valid())
            ::fsync(dir.get());
        return std::nullopt;
    }

    FileResult append(const std::string& path, std::string_view bytes) override {
        FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
        if (!fd.valid())
            return fileErrorFromErrno(errno, path, FileOperation::Write);
        // A disk that fills up half-way through the write would leave part of a line behind;
        // cut the file back to what it held, so that it only ever grows by whole records.
        struct stat before {};
        const bool sized = ::fstat(fd.get(), &before) == 0 && S_ISREG(before.st_mode);
        if (int error = writeFully(fd.get(), bytes)) {
            // Should the cut fail too, the file is as the failed write left it.
            if (sized) {
                [[maybe_unused]] const int cut = ::ftruncate(fd.get(), before.st_size);
            }
            return fileErrorFromErrno(error, path, FileOperation::Write);
        }
        if (int error = fd.close())
            return fileErrorFromErrno(error, path, FileOperation::Write);
        return std::nullopt;
    }

    FileResult remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            return fileErrorFromErrno(errno, path, FileOperation::Write);
        return std::nullopt;
    }

private:
    static FileError tooLarge(const std::string& path, std::size_t limit) {
        return {errorcodes::DocumentTooLarge, "Document too large: \"" + path +
                                                  "\" is larger than the limit of " +
                                                  std::to_string(limit) + " bytes"};
    }
};

} // namespace

FileSystem& FileSystem::real() {
    static PosixFileSystem instance;
    return instance;
}

} // namespace keystride
