// Fuzz target for the settings file: any bytes read into eight values without a crash, and
// what the system writes back is always the complete file of eight "J"/"N" lines that reads
// back as the values it was written from.
#include "settings/settings_store.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Reports the broken invariant's line, so a finding says what it broke.
void checkAt(bool condition, int line) {
    if (condition)
        return;
    std::fprintf(stderr, "invariant broken at %s:%d\n", __FILE__, line);
    std::abort();
}
#define check(condition) checkAt((condition), __LINE__)

const std::string& written(const std::string& value) {
    static const std::string on = "J", off = "N";
    return value == "J" ? on : off;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const keystride::SettingsStore store = keystride::parseSettings(bytes);

    // Only the first character of the Courier value is kept.
    check(store.CheckCourier.size() == 1);
    // A value is one field of the input: it holds a delimiter only inside double quotes.
    const bool quoted = bytes.find('"') != std::string_view::npos;
    for (const std::string* value :
         {&store.TimeLimit10, &store.CheckSpacing15, &store.CountExcessStrokes,
          &store.CheckDoubleSpacing, &store.WpmOneDecimal, &store.WpmInteger,
          &store.WpmMultipleOf5}) {
        check(value->size() <=
              std::max<std::size_t>(size, 1)); // "J"/"N" kept from the initial state
        check(quoted || value->find_first_of(",\r\n") == std::string::npos);
    }

    const std::string file = keystride::formatSettings(store);
    check(file.size() == 24);
    for (std::size_t line = 0; line < 8; ++line) {
        const char letter = file[3 * line];
        check(letter == 'J' || letter == 'N');
        check(file.compare(3 * line + 1, 2, "\r\n") == 0);
    }

    // Read back, each value is "J" exactly where it was "J" before, else "N"; writing again
    // gives the same bytes.
    const keystride::SettingsStore reread = keystride::parseSettings(file);
    check(reread.TimeLimit10 == written(store.TimeLimit10));
    check(reread.CheckSpacing15 == written(store.CheckSpacing15));
    check(reread.CountExcessStrokes == written(store.CountExcessStrokes));
    check(reread.CheckDoubleSpacing == written(store.CheckDoubleSpacing));
    check(reread.WpmOneDecimal == written(store.WpmOneDecimal));
    check(reread.WpmInteger == written(store.WpmInteger));
    check(reread.WpmMultipleOf5 == written(store.WpmMultipleOf5));
    check(reread.CheckCourier == written(store.CheckCourier));
    check(keystride::formatSettings(reread) == file);
    return 0;
}
