// The system clipboard as the export uses it: cleared, then given the speed test as rich text
// (with its plain text beside it for programs that take no RTF).
#pragma once

#include <string>
#include <vector>

namespace keystride {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    // False when the clipboard could not take the text.
    virtual bool setRichText(const std::string& rtf, const std::string& plainText) = 0;
};

// A clipboard for tests and tools: it keeps what it was given.
class ScriptedClipboard final : public Clipboard {
public:
    void clear() override {
        ++m_clears;
        m_rtf.clear();
        m_plain.clear();
        m_holds = false;
    }
    bool setRichText(const std::string& rtf, const std::string& plainText) override {
        if (!m_accepts)
            return false;
        m_rtf = rtf;
        m_plain = plainText;
        m_holds = true;
        return true;
    }

    void setAccepts(bool yes) { m_accepts = yes; }
    bool holdsRichText() const { return m_holds; }
    const std::string& rtf() const { return m_rtf; }
    const std::string& plainText() const { return m_plain; }
    int clears() const { return m_clears; }

private:
    std::string m_rtf;
    std::string m_plain;
    bool m_holds = false;
    bool m_accepts = true;
    int m_clears = 0;
};

} // namespace keystride
