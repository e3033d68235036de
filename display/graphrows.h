// The graph panel's seven signals, one row each, shared by the graphs of the
// run, the record viewer and the statistics, so that a signal's graph,
// display, colour and names are written down once.
#pragma once

namespace corvel {

struct GraphRow {
    const unsigned short* value;  // the data variable of the last frame
    unsigned short* buf;          // the two points of its last line on the graph
    int graph;                    // its graph on the graph panel
    int display;                  // the display of its last value
    int color;                    // of its lines
    const char* name;             // as the operator reads it ("GF")
    const char* readout;          // in the cursor readout, with the unit where it needs one
};

constexpr int kGraphRowCount = 7;

// In the order of EditSignal's values and of a record's values.
extern const GraphRow kGraphRows[kGraphRowCount];

}  // namespace corvel
