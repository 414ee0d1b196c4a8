#include "platform/richtext/format_json.h"

#include <charconv>
#include <cmath>

namespace keystride {

namespace {

// Length of the well-formed UTF-8 sequence starting at `at`, or 0 when the byte there does not
// start one.
std::size_t sequenceLength(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    std::size_t length = lead < 0x80             ? 1
                         : (lead & 0xE0) == 0xC0 ? 2
                         : (lead & 0xF0) == 0xE0 ? 3
                         : (lead & 0xF8) == 0xF0 ? 4
                                                 : 0;
    if (length == 0 || at + length > bytes.size())
        return 0;
    return isValidUtf8(bytes.substr(at, length)) ? length : 0;
}

// Every byte that is not part of well-formed UTF-8 becomes U+FFFD.
std::string wellFormed(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (std::size_t length = sequenceLength(bytes, i)) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

} // namespace

std::string jsonString(std::string_view utf8) {
    std::string valid;
    if (!isValidUtf8(utf8)) {
        valid = wellFormed(utf8);
        utf8 = valid;
    }
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[(c >> 4) & 0xF];
                out += hex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string jsonNumber(double value) {
    if (!std::isfinite(value))
        return "null";
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc())
        return "null";
    return std::string(buffer, end);
}

std::string formatSpansJson(const std::vector<FormatSpan>& spans) {
    std::string out = "[";
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const FormatSpan& span = spans[i];
        const CharFormat& format = span.format;
        if (i > 0)
            out += ',';
        out += "{\"start\":" + std::to_string(span.start);
        out += ",\"length\":" + std::to_string(span.length);
        out += ",\"font\":" + jsonString(format.font);
        out += ",\"size\":" + jsonNumber(format.size);
        out += ",\"colour\":" + jsonString(format.colour.hex());
        out += ",\"background\":" +
               (format.background ? jsonString(format.background->hex()) : std::string("null"));
        out += std::string(",\"bold\":") + (format.bold ? "true" : "false");
        out += std::string(",\"underline\":") + (format.underline ? "true" : "false");
        out += '}';
    }
    out += ']';
    return out;
}

} // namespace keystride
