// The system clipboard through Qt: the rich text goes on as "text/rtf" and "application/rtf"
// (the names word processors on this desktop look for) with the plain text beside it.
#pragma once

#include "platform/desktop/clipboard.h"

namespace keystride {

class QtClipboard final : public Clipboard {
public:
    void clear() override;
    bool setRichText(const std::string& rtf, const std::string& plainText) override;
};

} // namespace keystride
