// Windows and DOS code pages used by RTF files and plain-text files.
#pragma once

#include <cstdint>
#include <optional>

namespace keystride {

// The UTF-16 code unit for `byte` in code page `codePage`; nullopt when the code page is not
// known here or the byte is undefined in it. Single-byte code pages only.
std::optional<char16_t> decodeCodePageByte(int codePage, std::uint8_t byte);
bool isKnownSingleByteCodePage(int codePage);

// Double-byte (East Asian) Windows code pages: 932 Japanese, 936 Simplified Chinese, 949 Korean,
// 950 Traditional Chinese. A lead byte starts a two-byte character; every other byte stands
// alone as ASCII.
bool isDoubleByteCodePage(int codePage);
bool isLeadByte(int codePage, std::uint8_t byte);
// The character for `lead` followed by `trail`; nullopt when the pair is undefined or the
// system offers no table for the code page.
std::optional<char16_t> decodeDoubleByte(int codePage, std::uint8_t lead, std::uint8_t trail);

// Windows-1252: the byte for `c`, or nullopt when the character has no code there.
std::optional<std::uint8_t> encodeWindows1252(char16_t c);
char16_t decodeWindows1252(std::uint8_t byte);

// The code page an RTF \fcharset stands for (0 ANSI 1252, 238 Eastern Europe 1250, 204 Cyrillic
// 1251, 161 Greek 1253, 162 Turkish 1254, 177 Hebrew 1255, 178 Arabic 1256, 186 Baltic 1257,
// 163 Vietnamese 1258, 222 Thai 874, 128 932, 134 936, 129 949, 136 950, 255 OEM 437, 77 Mac
// 10000); nullopt for charsets that do not name one (1 default, 2 symbol).
std::optional<int> codePageForCharset(int charset);

} // namespace keystride
