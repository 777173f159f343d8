#include "chart/scrolling.h"

namespace zepa {}  // namespace zepa
