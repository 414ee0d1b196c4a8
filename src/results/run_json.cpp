#include "results/run_json.h"

#include "platform/richtext/format_json.h"

namespace keystride {

namespace {

using marking::RunRecord;

Json toJson(const std::u16string& text) {
    return toUtf8(text);
}

Json toJson(const std::string& text) {
    return text;
}

Json toJson(int value) {
    return value;
}

Json toJson(bool value) {
    return value;
}

Json toJson(const std::vector<std::u16string>& words) {
    Json out = Json::array();
    for (const std::u16string& word : words)
        out.push_back(toUtf8(word));
    return out;
}

Json toJson(const std::vector<RunRecord::Error>& errors) {
    Json out = Json::array();
    for (const RunRecord::Error& error : errors)
        out.push_back(
            {{"word", toUtf8(error.word)}, {"start", error.start}, {"class", error.errorClass}});
    return out;
}

Json toJson(const std::vector<RunRecord::Repeat>& repeats) {
    Json out = Json::array();
    for (const RunRecord::Repeat& repeat : repeats)
        out.push_back({{"word", toUtf8(repeat.word)}, {"start", repeat.start}});
    return out;
}

template <typename T> Json toJson(const std::optional<T>& value) {
    return value ? toJson(*value) : Json(nullptr);
}

Json messagesJson(const RunRecord& run) {
    Json out = Json::array();
    for (const auto& [title, text] : run.messages)
        out.push_back({{"title", title}, {"text", text}});
    return out;
}

} // namespace

std::string runRecordJson(const RunRecord& run) {
    const std::optional<double> wpm = run.wpm();
    const Json out = {
        {"completed", run.completed},
        {"messages", messagesJson(run)},
        {"source_end", toJson(run.sourceEnd)},
        {"end_found", toJson(run.endFound)},
        {"stroke_count", toJson(run.strokeCount)},
        {"source_words", toJson(run.sourceWords)},
        {"typed_words", toJson(run.typedWords)},
        {"errors", toJson(run.errors)},
        {"repeats", toJson(run.repeats)},
        {"excess_words", toJson(run.excessWords)},
        {"excess_text", toJson(run.excessText)},
        {"error_count", toJson(run.errorCount)},
        {"wpm", wpm ? jsonNumber(*wpm) : Json(nullptr)},
        {"report", toJson(run.report)},
        {"typed_text", toJson(run.typedText)},
        {"marked_file", toJson(run.markedFile)},
        {"result_line", toJson(run.resultLine)},
        {"runs", formatSpansJson(run.typedRuns)},
    };
    return jsonText(out);
}

} // namespace keystride
