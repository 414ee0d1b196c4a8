// The text of a settings file: each value on a line of its own, ended by CR LF.
#pragma once

#include <initializer_list>
#include <string>

namespace keystride::testing {

inline std::string lines(std::initializer_list<const char*> values) {
    std::string text;
    for (const char* value : values)
        text += std::string(value) + "\r\n";
    return text;
}

} // namespace keystride::testing
