#include "platform/rtf/text_loader.h"

#include "platform/richtext/codepages.h"
#include "platform/richtext/rich_text.h"

namespace keystride {

namespace {

std::u16string decodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        char16_t unit = bigEndian ? static_cast<char16_t>((first << 8) | second)
                                  : static_cast<char16_t>((second << 8) | first);
        if (unit != 0)
            out += unit;
    }
    return out;
}

} // namespace

std::u16string decodePlainText(std::string_view bytes) {
    if (bytes.size() >= 2) {
        if (bytes[0] == '\xFF' && bytes[1] == '\xFE')
            return decodeUtf16(bytes.substr(2), false);
        if (bytes[0] == '\xFE' && bytes[1] == '\xFF')
            return decodeUtf16(bytes.substr(2), true);
    }
    if (isValidUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
            bytes.remove_prefix(3);
        std::u16string text = fromUtf8(bytes);
        std::erase(text, u'\0');
        return text;
    }
    std::u16string text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        if (byte != '\0')
            text += decodeWindows1252(static_cast<std::uint8_t>(byte));
    }
    return text;
}

} // namespace keystride
