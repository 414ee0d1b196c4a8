// Plain-text files as the panes load them: any file that is not RTF.
#pragma once

#include <string>
#include <string_view>

namespace keystride {

// The text of a plain-text file. UTF-8 when the bytes are well-formed UTF-8 (a leading byte-order
// mark is dropped); UTF-16 when the file starts with a UTF-16 byte-order mark; otherwise
// Windows-1252, the code page classroom machines save text in. NUL characters are dropped. Line
// ends are left as they are: the pane turns CR LF, lone CR and lone LF into paragraph breaks.
std::u16string decodePlainText(std::string_view bytes);

} // namespace keystride
