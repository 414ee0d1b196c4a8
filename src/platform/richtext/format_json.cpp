#include "platform/richtext/format_json.h"

#include <cmath>
#include <cstdint>

namespace keystride {

Json jsonNumber(double value) {
    if (!std::isfinite(value))
        return nullptr;
    // Exactly representable whole numbers are written without a decimal point.
    if (std::trunc(value) == value && std::fabs(value) < 9.007199254740992e15)
        return static_cast<std::int64_t>(value);
    return value;
}

Json formatSpansJson(const std::vector<FormatSpan>& spans) {
    Json out = Json::array();
    for (const FormatSpan& span : spans) {
        const CharFormat& format = span.format;
        out.push_back({
            {"start", span.start},
            {"length", span.length},
            {"font", format.font},
            {"size", jsonNumber(format.size)},
            {"colour", format.colour.hex()},
            {"background", format.background ? Json(format.background->hex()) : Json(nullptr)},
            {"bold", format.bold},
            {"underline", format.underline},
        });
    }
    return out;
}

std::string jsonText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace keystride
