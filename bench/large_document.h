// Large documents for the benchmarks, made in memory, and a file system that serves one of them.
#pragma once

#include "platform/files/file_system.h"

#include <string>

namespace keystride::bench {

// RTF shaped like a word processor's, about `targetBytes` long: a font and colour table, format
// changes every few words in groups and flat, \u escapes with fallbacks, \'hh escapes, fields,
// skipped destinations (a picture, bookmarks) and paragraph spacing.
inline std::string largeRtf(std::size_t targetBytes) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
                      "{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}"
                      "{\\f1\\froman\\fcharset0{\\*\\panose 02020603050405020304}Times New Roman;}"
                      "{\\f2\\fswiss\\fcharset238 Arial CE;}}"
                      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;"
                      "\\red224\\green224\\blue224;}"
                      "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Benchmark}}\r\n";
    int paragraph = 0;
    while (rtf.size() < targetBytes) {
        rtf += paragraph % 3 == 0 ? "\\pard\\sl360\\slmult1\\plain\\f0\\fs24 "
                                  : "\\pard\\plain\\f1\\fs20 ";
        for (int sentence = 0; sentence < 6; ++sentence) {
            rtf += "The quick brown fox {\\b jumps} over the {\\i\\cf1 lazy} dog";
            rtf += "\\cf2\\highlight3 , caf\\'e9 \\u8211\\'96 na\\u239 ve\\cf0\\highlight0  ";
            rtf += "{\\f2 \\'e8\\'9a} {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} ";
            rtf += "{\\*\\bkmkstart b}\\ul under\\ulnone , 1\\tab 2\\emdash 3. ";
        }
        if (paragraph % 10 == 0)
            rtf += "{\\pict\\wmetafile8\\picw100\\pich100 0102030405060708090a0b0c0d0e0f}";
        rtf += "\r\n\\par ";
        ++paragraph;
    }
    rtf += "}";
    return rtf;
}

// Plain text about `targetBytes` long: sentences, a paragraph every few of them, CR LF breaks.
inline std::string largeText(std::size_t targetBytes) {
    std::string text;
    int sentence = 0;
    while (text.size() < targetBytes) {
        text += "The learner types the text while the clock runs, and the teacher marks it. ";
        if (++sentence % 5 == 0)
            text += "\r\n";
    }
    return text;
}

// Serves `bytes` for any path read and refuses every write, so a benchmark that opens a document
// measures the opening, not the disk.
class ServingFileSystem final : public FileSystem {
public:
    explicit ServingFileSystem(std::string bytes) : m_bytes(std::move(bytes)) {}
    bool exists(const std::string&) const override { return true; }
    bool isFile(const std::string&) const override { return true; }
    ReadResult readAll(const std::string&, std::size_t) const override { return {m_bytes, {}}; }
    FileResult writeAtomic(const std::string& path, std::string_view) override {
        return refuse(path);
    }
    FileResult append(const std::string& path, std::string_view) override { return refuse(path); }
    FileResult remove(const std::string& path) override { return refuse(path); }

private:
    static FileResult refuse(const std::string& path) {
        return FileError{errorcodes::PermissionDenied, path};
    }
    std::string m_bytes;
};

} // namespace keystride::bench
