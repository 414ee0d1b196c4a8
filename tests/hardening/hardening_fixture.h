// Shared set-up for the hardening tests: the marking world of the test-support library and the
// messages of the disk failures.
#pragma once

#include "support/marking_world.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace keystride::hardening {

using testing::MarkingWorld;
using testing::Message;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

inline const Message TooLarge{"Error", "Document too large..."};
inline const Message NoAccess{"Error",
                              "Vela Keystride does not have access to write-protected disk."};
inline const Message NoAccessSaveElsewhere{
    "Error", "Vela Keystride does not have access to write-protected disk. Please save speed "
             "tests on an accessible disk."};

} // namespace keystride::hardening
