// The RTF the panes write. The marking engine edits this markup as text (it turns "." + two
// spaces + CR into "." + CR, and looks for "\sl360\" and "\sl480\"), so its shape is fixed:
//
//   {\rtf1\ansi\ansicpg1252\deff0{\fonttbl...}{\colortbl ;...}\uc1 CR LF
//   \pard[\sl360\slmult1|\sl480\slmult1]<format words> text CR LF [mark format words]\par
//   \pard... last paragraph text }
//
// - every paragraph's text ends directly in CR LF, followed by "\par " (the last paragraph has
//   neither); no other raw line break occurs inside text;
// - format words are flat (no groups) and name only what changed since the previous run:
//   \fN \fsN \cfN \highlightN (\highlight0: none) \b \b0 \i \i0 \ul \ulnone; a size that is not a
//   whole half-point also carries its exact value in twentieths of a point in the ignorable
//   group {\*\kssize N} right after its \fs;
// - the space, ". , ! ? ;" and other printable ASCII are written as themselves; \ { } escaped;
//   TAB as \tab; other characters as \'hh in Windows-1252 or else \uN? (N signed 16-bit);
//   other control characters are dropped.
#pragma once

#include "platform/richtext/rich_text.h"

#include <string>

namespace keystride {

std::string writeRtf(const RichDocument& doc);

} // namespace keystride
