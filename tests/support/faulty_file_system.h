// A file layer for tests: passes every operation to another file layer, except the operations
// chosen to fail, which fail the way the operating system would (or with a given error, such as
// a write-protected disk, that no errno value yields on this platform).
#pragma once

#include "platform/files/file_system.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace keystride {

class FaultyFileSystem final : public FileSystem {
public:
    enum class Operation { Exists, IsFile, ReadAll, WriteAtomic, Append, Remove };

    using Call = std::pair<Operation, std::string>;

    explicit FaultyFileSystem(FileSystem& inner = FileSystem::real()) : m_inner(inner) {}

    // Makes `operation` on `path` (on every path when `path` is empty) fail with the error that
    // `errnoValue` gives, `times` times (every time when negative). A failing `exists` or
    // `isFile` answers false.
    void failOn(Operation operation, const std::string& path, int errnoValue, int times = -1) {
        m_faults.push_back(Fault{operation, path, errnoValue, FileError{}, times});
    }
    void failOn(Operation operation, const std::string& path, FileError error, int times = -1) {
        m_faults.push_back(Fault{operation, path, 0, std::move(error), times});
    }
    void clearFaults() { m_faults.clear(); }

    // Every operation asked for, in order, failed ones included.
    const std::vector<Call>& calls() const { return m_calls; }
    // How many times `operation` was asked for on `path` (on any path when empty).
    int callCount(Operation operation, const std::string& path = {}) const {
        return static_cast<int>(std::count_if(m_calls.begin(), m_calls.end(), [&](const Call& c) {
            return c.first == operation && (path.empty() || c.second == path);
        }));
    }

    bool exists(const std::string& path) const override {
        return !intercept(Operation::Exists, path) && m_inner.exists(path);
    }
    bool isFile(const std::string& path) const override {
        return !intercept(Operation::IsFile, path) && m_inner.isFile(path);
    }
    ReadResult readAll(const std::string& path, std::size_t limit) const override {
        if (FileResult error = intercept(Operation::ReadAll, path))
            return ReadResult{{}, error};
        return m_inner.readAll(path, limit);
    }
    FileResult writeAtomic(const std::string& path, std::string_view bytes) override {
        FileResult error = intercept(Operation::WriteAtomic, path);
        return error ? error : m_inner.writeAtomic(path, bytes);
    }
    FileResult append(const std::string& path, std::string_view bytes) override {
        FileResult error = intercept(Operation::Append, path);
        return error ? error : m_inner.append(path, bytes);
    }
    FileResult remove(const std::string& path) override {
        FileResult error = intercept(Operation::Remove, path);
        return error ? error : m_inner.remove(path);
    }

private:
    struct Fault {
        Operation operation;
        std::string path;
        int errnoValue = 0; // 0: use `error` as it is
        FileError error;
        int remaining = -1;
    };

    // The error the next `operation` on `path` fails with, if any; records the call.
    FileResult intercept(Operation operation, const std::string& path) const {
        m_calls.emplace_back(operation, path);
        for (Fault& fault : m_faults) {
            if (fault.operation != operation || fault.remaining == 0 ||
                (!fault.path.empty() && fault.path != path))
                continue;
            fault.remaining -= fault.remaining > 0 ? 1 : 0;
            const bool reads = operation == Operation::Exists || operation == Operation::IsFile ||
                               operation == Operation::ReadAll;
            return fault.errnoValue == 0
                       ? fault.error
                       : fileErrorFromErrno(fault.errnoValue, path,
                                            reads ? FileOperation::Read : FileOperation::Write);
        }
        return std::nullopt;
    }

    FileSystem& m_inner;
    mutable std::vector<Fault> m_faults;
    mutable std::vector<Call> m_calls;
};

} // namespace keystride
