// Checks and cuts of UTF-8 text, shared by the importer, the listing file and its writer.
#pragma once

#include <cstddef>
#include <string_view>

namespace zepa {

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates.
bool isValidUtf8(std::string_view text);

// The longest prefix of at most maxBytes bytes that does not split a character.
std::string_view cutUtf8(std::string_view utf8, size_t maxBytes);

}  // namespace zepa
