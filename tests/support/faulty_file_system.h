// A file layer for tests: passes every operation to another file layer, except the operations
// chosen to fail, which fail the way the operating system would (or with a given error, such as
// a write-protected disk, that no errno value yields on this platform).
#pragma once

#include "platform/files/file_system.h"

#include <string>
#include <vector>

namespace keystride {

class FaultyFileSystem final : public FileSystem {
public:
    enum class Operation { Exists, IsFile, ReadAll, WriteAtomic, Append, Remove };

    struct Call {
        Operation operation;
        std::string path;
        bool failed = false;
    };

    explicit FaultyFileSystem(FileSystem& inner = FileSystem::real()) : m_inner(inner) {}

    // Makes `operation` on `path` (on every path when `path` is empty) fail with the error that
    // `errnoValue` gives, `times` times (every time when negative). A failing `exists` or
    // `isFile` answers false.
    void failOn(Operation operation, const std::string& path, int errnoValue, int times = -1);
    void failOn(Operation operation, const std::string& path, FileError error, int times = -1);
    void clearFaults() { m_faults.clear(); }

    // Every operation asked for, in order, failed ones included.
    const std::vector<Call>& calls() const { return m_calls; }
    // How many times `operation` was asked for on `path` (on any path when empty).
    int callCount(Operation operation, const std::string& path = {}) const;

    bool exists(const std::string& path) const override;
    bool isFile(const std::string& path) const override;
    ReadResult readAll(const std::string& path, std::size_t limit) const override;
    FileResult writeAtomic(const std::string& path, std::string_view bytes) override;
    FileResult append(const std::string& path, std::string_view bytes) override;
    FileResult remove(const std::string& path) override;

private:
    struct Fault {
        Operation operation;
        std::string path;
        int errnoValue = 0; // 0: use `error` as it is
        FileError error;
        int remaining = -1;
    };

    // The error the next `operation` on `path` fails with, if any; records the call.
    FileResult intercept(Operation operation, const std::string& path) const;

    FileSystem& m_inner;
    mutable std::vector<Fault> m_faults;
    mutable std::vector<Call> m_calls;
};

} // namespace keystride
