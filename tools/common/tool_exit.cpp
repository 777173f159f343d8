#include "tools/common/tool_exit.h"

#include <cstdio>

namespace zepa {

int refuse(const char* tool, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", tool, message.c_str());
    return kExitRefused;
}

}  // namespace zepa
