// A command line split at its blanks, as the tools' option tests type them.
#pragma once

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace zepa::test {

inline std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

}  // namespace zepa::test
