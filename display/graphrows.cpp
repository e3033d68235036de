// The rows of the graph panel's seven signals.
#include "display/graphrows.h"

#include "app/corvel.h"
#include "uir_ids.h"

namespace corvel {

const GraphRow kGraphRows[kGraphRowCount] = {
    {&dataChRef, bufchref, GRAPHP_PANELGRAPHCHREF, GRAPHP_DISPCHREFGRAPH, 0xFF0000, "CH_REF", "CH_REF"},
    {&dataChDir, bufchdir, GRAPHP_PANELGRAPHCHDIR, GRAPHP_DISPCHDIRGRAPH, 0x00FF00, "CH_DIR", "CH_DIR"},
    {&dataChDif, bufchdif, GRAPHP_PANELGRAPHCHDIF, GRAPHP_DISPCHDIFGRAPH, 0x0000FF, "CH_DIF", "CH_DIF"},
    {&dataNorm, bufnorm, GRAPHP_PANELGRAPHNORM, GRAPHP_DISPNORMGRAPH, 0xFF8000, "NORM", "NORM"},
    {&dataInt, bufint, GRAPHP_PANELGRAPHINT, GRAPHP_DISPINTGRAPH, 0x008080, "INT", "INT"},
    {&dataGf, bufgf, GRAPHP_PANELGRAPHGF, GRAPHP_DISPGFGRAPH, 0x00FF00, "GF", "GF (0.1 units)"},
    {&dataTemp, buftemp, GRAPHP_PANELGRAPHTEMP, GRAPHP_DISPTEMPGRAPH, 0x008080, "TEMP", "TEMP"},
};

}  // namespace corvel
