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

const char* joinKindName(marking::JoinKind kind) {
    switch (kind) {
    case marking::JoinKind::SplitWord:
        return "split_word";
    case marking::JoinKind::MissingHyphen:
        return "missing_hyphen";
    case marking::JoinKind::MissingApostrophe:
        return "missing_apostrophe";
    case marking::JoinKind::DetachedFullStop:
        return "detached_full_stop";
    case marking::JoinKind::None:
        break;
    }
    return nullptr;
}

// One object per entry of "errors", in the same order.
Json errorNotesJson(const std::vector<RunRecord::Error>& errors) {
    Json out = Json::array();
    for (const RunRecord::Error& error : errors) {
        const char* join = joinKindName(error.join);
        out.push_back({{"join", join ? Json(join) : Json(nullptr)},
                       {"joined_pair", join ? Json(toUtf8(error.joinedPair)) : Json(nullptr)},
                       {"doubled", error.doubled}});
    }
    return out;
}

Json layoutFaultsJson(const RunRecord& run) {
    if (!run.scoring)
        return nullptr;
    const marking::LayoutFaults& f = run.scoring->faults;
    return {{"line_feeds", f.lineFeeds}, {"full_stops", f.fullStops},
            {"commas", f.commas},        {"marks", f.marks},
            {"courier", f.courier},      {"line_spacing", f.lineSpacing}};
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
        // Added later, so that scripts reading the keys above see them unchanged.
        {"test", run.typedTest},
        {"words_typed", toJson(run.wordsTyped)},
        {"layout_faults", layoutFaultsJson(run)},
        {"error_notes", run.errors ? errorNotesJson(*run.errors) : Json(nullptr)},
    };
    return jsonText(out);
}

} // namespace keystride
