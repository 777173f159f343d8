#include "chart/lower_pane.h"

namespace zepa {}  // namespace zepa
