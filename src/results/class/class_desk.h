// The pieces of a class marking: the conversions made before any test is marked, the file
// layers that drop writes or hold them back until every earlier test is written, and the desk
// on which one test (or, for a session, every test) is opened and marked.
#pragma once

#include "class_marking.h"
#include "headless_host.h"

#include "documents/conversion.h"
#include "platform/desktop/libreoffice.h"
#include "platform/desktop/posix_process_launcher.h"
#include "platform/panes/memory_pane.h"

#include <condition_variable>
#include <mutex>
#include <set>

namespace keystride::classmarking {

// Word-processor documents become .rtf files as the open commands make them. Docx2Rtf converts a
// whole folder at once, so each folder and kind is converted once per class.
class ClassConversions {
public:
    ClassConversions(FileSystem& files, const std::string& converterFolder);
    ConversionOutcome convert(const std::string& path);

private:
    PosixProcessLauncher m_launcher;
    LibreOfficeWordProcessor m_office;
    DocumentConverter m_converter;
    std::set<std::string> m_done;
};

// Reads go to the disk; writes are accepted and dropped.
class NoWriteFileSystem final : public FileSystem {
public:
    explicit NoWriteFileSystem(FileSystem& inner) : m_inner(inner) {}
    bool exists(const std::string& path) const override { return m_inner.exists(path); }
    bool isFile(const std::string& path) const override { return m_inner.isFile(path); }
    ReadResult readAll(const std::string& path, std::size_t limit) const override {
        return m_inner.readAll(path, limit);
    }
    FileResult writeAtomic(const std::string&, std::string_view) override { return {}; }
    FileResult append(const std::string&, std::string_view) override { return {}; }
    FileResult remove(const std::string&) override { return {}; }

private:
    FileSystem& m_inner;
};

// Tests marked at once take turns in the order of the class: a test's turn comes when every
// test before it has been written and reported.
class Turnstile {
public:
    void waitFor(int index);
    void pass(int index);

private:
    std::mutex m_mutex;
    std::condition_variable m_turn;
    int m_next = 0;
};

// The file layer of one test marked beside others: its marked test and its result line wait for
// the test's turn, so that "Resultaat.res" gets its lines in the order of the class and a
// marked test shared by two tests is the later test's.
class TurnFileSystem final : public FileSystem {
public:
    TurnFileSystem(FileSystem& inner, Turnstile& turnstile, int index)
        : m_inner(inner), m_turnstile(turnstile), m_index(index) {}
    bool exists(const std::string& path) const override { return m_inner.exists(path); }
    bool isFile(const std::string& path) const override { return m_inner.isFile(path); }
    ReadResult readAll(const std::string& path, std::size_t limit) const override {
        return m_inner.readAll(path, limit);
    }
    FileResult writeAtomic(const std::string& path, std::string_view bytes) override;
    FileResult append(const std::string& path, std::string_view bytes) override;
    FileResult remove(const std::string& path) override;

private:
    FileSystem& m_inner;
    Turnstile& m_turnstile;
    int m_index;
};

// What every desk of a class shares.
struct ClassSetup {
    const ClassMarkingOptions& options;
    const MemoryPane& source; // the source pane as the teacher's open left it
};

// Both panes, the global state, a host that shows nothing and one marking engine: what the
// window holds for marking tests.
class Desk {
public:
    Desk(const ClassSetup& setup, FileSystem& files);
    Desk(const Desk&) = delete;
    Desk& operator=(const Desk&) = delete;

    // Opens `chosen` as the window's open command does (with its conversion already made) and
    // marks it.
    MarkedTest mark(const std::string& chosen, const ConversionOutcome& conversion);

private:
    const ClassMarkingOptions& m_options;
    marking::WorkspaceState m_state;
    MemoryPane m_typed;
    MemoryPane m_source;
    HeadlessHost m_host;
    marking::MarkingEngine m_engine;
};

// The record of a test that could not be opened: never completed, the problem as its message.
MarkedTest unopenedTest(const std::string& chosen, const std::string& problem);

} // namespace keystride::classmarking
