// Docx2Rtf, the outside program that turns .docx and .odt documents into RTF, and where its
// project lives: the open commands name the address after a conversion, the About box credits it.
#pragma once

namespace keystride {

inline constexpr const char* ConverterProgram = "Docx2Rtf";
inline constexpr const char* ConverterWebAddress = "https://velakeystride.org/docx2rtf";

} // namespace keystride
