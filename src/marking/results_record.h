// What every marking run leaves on disk: the marked test beside the speed test (".rug") and one
// line in the results file.
#pragma once

#include "platform/files/file_error.h"

#include <string>

namespace keystride::marking {

// The marked-test name: the speed test's name without its last four characters, then ".rug".
std::string markedTestName(const std::string& typedTestName);

// "<name>  <signed speed> wpm" (without the line end).
std::string resultLine(const std::string& markedName, int wpmTenths);

// The line as written to the results file: Windows-1252 text ended by CR LF.
std::string resultRecordBytes(const std::string& line);

} // namespace keystride::marking
