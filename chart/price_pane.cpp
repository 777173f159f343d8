#include "chart/price_pane.h"

namespace zepa {}  // namespace zepa
