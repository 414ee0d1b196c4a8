// The file layer. Everything the system writes or reads goes through it, so that tests can make
// any write fail the way a real disk fails (no such folder, read-only, full, locked).
#pragma once

#include "platform/files/file_error.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace keystride {

struct ReadResult {
    std::string bytes;
    FileResult error; // empty on success
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) const = 0;
    // True for a regular file (or a link to one); false for a folder or anything else.
    virtual bool isFile(const std::string& path) const = 0;
    // Reads the whole file; a file larger than `limit` bytes fails with DocumentTooLarge.
    virtual ReadResult readAll(const std::string& path, std::size_t limit) const = 0;
    // Writes a new file beside the target and renames it over the target, so that a failed
    // write never leaves a half-written file in place of a good one.
    virtual FileResult writeAtomic(const std::string& path, std::string_view bytes) = 0;
    // Appends in one write, creating the file when missing; existing bytes are never touched.
    virtual FileResult append(const std::string& path, std::string_view bytes) = 0;
    // Deleting a file that is already gone is not a failure.
    virtual FileResult remove(const std::string& path) = 0;

    // The operating system's file system.
    static FileSystem& real();
};

// Largest document the panes load (bytes).
inline constexpr std::size_t MaxDocumentBytes = 64u * 1024u * 1024u;

} // namespace keystride
