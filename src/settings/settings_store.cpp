#include "settings/settings_store.h"

#include <array>
#include <optional>

namespace keystride {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Reads fields the way the settings file has always been read: one value per comma-separated
// field, a line end also ending a field.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : m_text(text) {}

    std::optional<std::string> next() {
        if (m_pos >= m_text.size())
            return std::nullopt;
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
        std::string value;
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] != '"')
                value += m_text[m_pos++];
            if (m_pos < m_text.size())
                ++m_pos; // closing quote
            // Anything between the closing quote and the delimiter is dropped.
            while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos]))
                ++m_pos;
        } else {
            while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos]))
                value += m_text[m_pos++];
            while (!value.empty() && isBlank(value.back()))
                value.pop_back();
        }
        skipDelimiter();
        return value;
    }

private:
    void skipDelimiter() {
        if (m_pos >= m_text.size())
            return;
        if (m_text[m_pos] == ',') {
            ++m_pos;
            return;
        }
        if (m_text[m_pos] == '\r') {
            ++m_pos;
            if (m_pos < m_text.size() && m_text[m_pos] == '\n')
                ++m_pos;
            return;
        }
        if (m_text[m_pos] == '\n')
            ++m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// File order of the values.
std::array<std::string SettingsStore::*, 8> fileOrder() {
    return {&SettingsStore::TimeLimit10,        &SettingsStore::CheckSpacing15,
            &SettingsStore::CountExcessStrokes, &SettingsStore::CheckDoubleSpacing,
            &SettingsStore::WpmOneDecimal,      &SettingsStore::WpmInteger,
            &SettingsStore::WpmMultipleOf5,     &SettingsStore::CheckCourier};
}

} // namespace

SettingsStore parseSettings(std::string_view fileText) {
    SettingsStore store;
    FieldReader reader(fileText);
    for (auto member : fileOrder()) {
        std::optional<std::string> field = reader.next();
        if (!field)
            break;
        store.*member = *field;
    }
    // Only the first character of the Courier value is kept, padded with a blank.
    store.CheckCourier =
        store.CheckCourier.empty() ? std::string(" ") : store.CheckCourier.substr(0, 1);
    return store;
}

std::string formatSettings(const SettingsStore& store) {
    std::string out;
    for (auto member : fileOrder())
        out += ((store.*member) == "J" ? "J" : "N") + std::string("\r\n");
    return out;
}

SettingsStore loadSettings(const FileSystem& files, const std::string& path) {
    ReadResult read = files.readAll(path, 64 * 1024);
    if (read.error)
        return SettingsStore{};
    return parseSettings(read.bytes);
}

FileResult saveSettings(FileSystem& files, const std::string& path, const SettingsStore& store) {
    return files.writeAtomic(path, formatSettings(store));
}

} // namespace keystride
