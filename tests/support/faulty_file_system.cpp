#include "support/faulty_file_system.h"

namespace keystride {

void FaultyFileSystem::failOn(Operation operation, const std::string& path, int errnoValue,
                              int times) {
    m_faults.push_back(Fault{operation, path, errnoValue, FileError{}, times});
}

void FaultyFileSystem::failOn(Operation operation, const std::string& path, FileError error,
                              int times) {
    m_faults.push_back(Fault{operation, path, 0, std::move(error), times});
}

int FaultyFileSystem::callCount(Operation operation, const std::string& path) const {
    int count = 0;
    for (const Call& call : m_calls) {
        if (call.operation == operation && (path.empty() || call.path == path))
            ++count;
    }
    return count;
}

FileResult FaultyFileSystem::intercept(Operation operation, const std::string& path) const {
    m_calls.push_back(Call{operation, path, false});
    for (Fault& fault : m_faults) {
        if (fault.operation != operation || fault.remaining == 0)
            continue;
        if (!fault.path.empty() && fault.path != path)
            continue;
        if (fault.remaining > 0)
            --fault.remaining;
        m_calls.back().failed = true;
        if (fault.errnoValue == 0)
            return fault.error;
        const FileOperation kind =
            (operation == Operation::Exists || operation == Operation::IsFile ||
             operation == Operation::ReadAll)
                ? FileOperation::Read
                : FileOperation::Write;
        return fileErrorFromErrno(fault.errnoValue, path, kind);
    }
    return std::nullopt;
}

bool FaultyFileSystem::exists(const std::string& path) const {
    if (intercept(Operation::Exists, path))
        return false;
    return m_inner.exists(path);
}

bool FaultyFileSystem::isFile(const std::string& path) const {
    if (intercept(Operation::IsFile, path))
        return false;
    return m_inner.isFile(path);
}

ReadResult FaultyFileSystem::readAll(const std::string& path, std::size_t limit) const {
    if (FileResult error = intercept(Operation::ReadAll, path))
        return ReadResult{{}, error};
    return m_inner.readAll(path, limit);
}

FileResult FaultyFileSystem::writeAtomic(const std::string& path, std::string_view bytes) {
    if (FileResult error = intercept(Operation::WriteAtomic, path))
        return error;
    return m_inner.writeAtomic(path, bytes);
}

FileResult FaultyFileSystem::append(const std::string& path, std::string_view bytes) {
    if (FileResult error = intercept(Operation::Append, path))
        return error;
    return m_inner.append(path, bytes);
}

FileResult FaultyFileSystem::remove(const std::string& path) {
    if (FileResult error = intercept(Operation::Remove, path))
        return error;
    return m_inner.remove(path);
}

} // namespace keystride
