// Layout and punctuation checks of the typed test as a whole: the typeface, the line spacing,
// the number of line breaks, superfluous and missing spaces, and the sentence-mark counts.
#pragma once

#include "marking/marking_state.h"
#include "marking/text_search.h"
#include "platform/panes/document_pane.h"
#include "settings/settings_store.h"

#include <cstdint>

namespace keystride::marking {

void CheckCourier(MarkingState& state, DocumentPane& typed, const SettingsStore& settings);
void CheckLineSpacing(MarkingState& state, DocumentPane& typed, const SettingsStore& settings,
                      LineSpacing lineSpacingMode);
// Number of CR characters at or before `start` plus one (without the one when a CR stands at
// position 1).
std::uint8_t CountLineBreaks(TextView text, int start);
void CountLineFeeds(MarkingState& state, TextView typedText, TextView sourceText,
                    std::int16_t sourceEnd);
// A superfluous double space, and the spacing after sentence ends; appends marker entries.
void CheckSpaces(MarkingState& state, TextView typedText);
void CountPunctuation(MarkingState& state, TextView typedText, TextView sourceText,
                      std::int16_t sourceEnd);

} // namespace keystride::marking
