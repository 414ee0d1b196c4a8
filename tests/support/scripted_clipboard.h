// A clipboard for tests: it keeps what it was given, and can be told to refuse the text.
#pragma once

#include "platform/desktop/clipboard.h"

#include <string>

namespace keystride {

class ScriptedClipboard final : public Clipboard {
public:
    void clear() override {
        m_rtf.clear();
        m_plain.clear();
    }
    bool setRichText(const std::string& rtf, const std::string& plainText) override {
        if (!m_accepts)
            return false;
        m_rtf = rtf;
        m_plain = plainText;
        return true;
    }

    void setAccepts(bool yes) { m_accepts = yes; }
    const std::string& rtf() const { return m_rtf; }
    const std::string& plainText() const { return m_plain; }

private:
    std::string m_rtf;
    std::string m_plain;
    bool m_accepts = true;
};

} // namespace keystride
