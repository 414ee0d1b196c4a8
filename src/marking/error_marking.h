// Making every entry of the error list and the repeat list visible in the typed text: framed in
// the five marking typefaces when they are installed, otherwise white on red.
#pragma once

#include "marking/marking_state.h"
#include "platform/panes/document_pane.h"

namespace keystride::marking {

// Face names of the marking typefaces.
namespace errorfonts {
inline const std::string First = "Courier1";
inline const std::string Middle = "Courierraam";
inline const std::string Last = "Courier2";
inline const std::string Whole = "Courier3";
inline const std::string Repeat = "DoCourier";
} // namespace errorfonts

// Sets the background of the pane's selection and nothing else.
void HighliteText(DocumentPane& pane, Colour newColor);

void MarkErrors(MarkingState& state, DocumentPane& typed, bool fontMarking);

} // namespace keystride::marking
