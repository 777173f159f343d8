#include "chart/layout.h"

namespace zepa {}  // namespace zepa
