#pragma once
#include "model/workspace.h"

namespace trotix {

// Rebuilds T1 from IndicatorList: one row per distinct time and course, in the order of each
// race's first line, with the course's flag.
void RebuildIndicatorRaces(Workspace& ws);

}  // namespace trotix
