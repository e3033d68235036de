// Where a live frame's painting goes: with BENCH_LINK_PAINTS set, bench-link
// counts the paint, layout and update-request events of the paced run per
// widget and prints them per frame, with the painted area.
#pragma once

namespace benchlink {

// Starts counting when the environment asks for it; returns whether it does.
bool StartPaintCount();
// Prints the counts gathered since the start, per frame of `frames`, and resets them.
void ReportPaintCount(unsigned long frames);

}  // namespace benchlink
