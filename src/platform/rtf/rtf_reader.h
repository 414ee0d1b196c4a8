// Reads RTF markup, as word processors and rich-edit controls write it, into the rich-text model.
#pragma once

#include "platform/richtext/rich_text.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace keystride {

// True when the bytes are RTF: optional UTF-8 BOM and whitespace, then "{\rtf".
bool looksLikeRtf(std::string_view bytes);

struct RtfReadResult {
    RichDocument document;
    // What was wrong with the markup and how it was read anyway, one sentence each.
    std::vector<std::string> warnings;
};

// Reads RTF as real word processors write it. `base` supplies what the RTF leaves unsaid (the
// font when no font table entry applies). Never throws, never crashes, and takes time and memory
// in proportion to the input: malformed markup yields the text that could be read, with warnings.
RtfReadResult readRtf(std::string_view bytes, const CharFormat& base);

// Reads as above, but hands each paragraph to `sink` as soon as it is complete instead of
// keeping it (at least one paragraph, in order), so that a large document is never held whole
// a second time; returns the warnings. The paragraph is valid only during the call.
using RtfParagraphSink = std::function<void(const Paragraph&)>;
std::vector<std::string> readRtf(std::string_view bytes, const CharFormat& base,
                                 const RtfParagraphSink& sink);

} // namespace keystride
