// The system clipboard as the export uses it: cleared, then given the speed test as rich text
// (with its plain text beside it for programs that take no RTF).
#pragma once

#include <string>

namespace keystride {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    // False when the clipboard could not take the text.
    virtual bool setRichText(const std::string& rtf, const std::string& plainText) = 0;
};

} // namespace keystride
