#include "run_json.h"

#include "platform/richtext/format_json.h"

namespace keystride {

namespace {

std::string str(const std::u16string& text) {
    return jsonString(toUtf8(text));
}

template <typename T, typename Write>
std::string optional(const std::optional<T>& value, Write write) {
    return value ? write(*value) : std::string("null");
}

std::string words(const std::vector<std::u16string>& list) {
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i)
        out += (i ? "," : "") + str(list[i]);
    return out + "]";
}

} // namespace

std::string runRecordJson(const marking::RunRecord& run, const std::u16string& typedText,
                          const std::vector<FormatSpan>& typedRuns) {
    using marking::RunRecord;
    auto integer = [](auto v) { return std::to_string(v); };
    auto boolean = [](bool v) { return std::string(v ? "true" : "false"); };

    std::string messages = "[";
    for (std::size_t i = 0; i < run.messages.size(); ++i) {
        messages += (i ? "," : "") + std::string("{\"title\":") +
                    jsonString(run.messages[i].first) +
                    ",\"text\":" + jsonString(run.messages[i].second) + "}";
    }
    messages += "]";

    auto errors = [](const std::vector<RunRecord::Error>& list) {
        std::string out = "[";
        for (std::size_t i = 0; i < list.size(); ++i) {
            out += (i ? "," : "") + std::string("{\"word\":") + str(list[i].word) +
                   ",\"start\":" + std::to_string(list[i].start) +
                   ",\"class\":" + std::to_string(list[i].errorClass) + "}";
        }
        return out + "]";
    };
    auto repeats = [](const std::vector<RunRecord::Repeat>& list) {
        std::string out = "[";
        for (std::size_t i = 0; i < list.size(); ++i) {
            out += (i ? "," : "") + std::string("{\"word\":") + str(list[i].word) +
                   ",\"start\":" + std::to_string(list[i].start) + "}";
        }
        return out + "]";
    };

    std::string out = "{";
    out += "\"completed\":" + boolean(run.completed);
    out += ",\"messages\":" + messages;
    out += ",\"source_end\":" + optional(run.sourceEnd, integer);
    out += ",\"end_found\":" + optional(run.endFound, boolean);
    out += ",\"stroke_count\":" + optional(run.strokeCount, integer);
    out += ",\"source_words\":" + optional(run.sourceWords, words);
    out += ",\"typed_words\":" + optional(run.typedWords, words);
    out += ",\"errors\":" + optional(run.errors, errors);
    out += ",\"repeats\":" + optional(run.repeats, repeats);
    out += ",\"excess_words\":" + optional(run.excessWords, words);
    out += ",\"excess_text\":" + optional(run.excessText, str);
    out += ",\"error_count\":" + optional(run.errorCount, integer);
    out += ",\"wpm\":" + optional(run.wpm, [](double v) { return jsonNumber(v); });
    out += ",\"report\":" + optional(run.report, str);
    out += ",\"typed_text\":" + str(typedText);
    out += ",\"marked_file\":" +
           optional(run.markedFile, [](const std::string& s) { return jsonString(s); });
    out += ",\"result_line\":" +
           optional(run.resultLine, [](const std::string& s) { return jsonString(s); });
    out += ",\"runs\":" + formatSpansJson(typedRuns);
    return out + "}";
}

} // namespace keystride
