// One marking run as one JSON object on one line, for teachers' scripts and for checking the
// marks against other tools.
#pragma once

#include "marking/marking_run.h"
#include "platform/richtext/rich_text.h"

#include <string>
#include <vector>

namespace keystride {

std::string runRecordJson(const marking::RunRecord& run, const std::u16string& typedText,
                          const std::vector<FormatSpan>& typedRuns);

} // namespace keystride
