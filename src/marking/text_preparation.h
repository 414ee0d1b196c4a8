// Preparing the two texts for comparison: the sentence-end tidy of both panes' markup, clearing
// the word tables, splitting a text into words and counting the keystrokes of the typed test.
// These steps fix what a word is for every later phase.
#pragma once

#include "marking/marking_state.h"
#include "marking/text_search.h"
#include "platform/panes/document_pane.h"

namespace keystride::marking {

// Removes one or two spaces between a sentence mark and a paragraph end in the markup of both
// panes, typed pane first, in twelve replacements.
void SentenceEndTidy(DocumentPane& typed, DocumentPane& source);

void ClearWordTables(MarkingState& state);

// A word is a run of characters ended by one delimiter (space, CR or LF), the delimiter
// included; a lone full stop after a space becomes the word " .".
void SplitWords(MarkingState& state, TextView text);

void CountStrokes(MarkingState& state, TextView text);

// Keystrokes of one character.
int strokesOf(char16_t c);

} // namespace keystride::marking
