// Placeholder bodies until this module is built.
#include "display/display.h"

namespace corvel {

void SetPanelData(void) {}
int Copy1D(const double*, int, double*) { return 0; }
int Shift(const double*, int, int, double*) { return 0; }
void ShowGraph(void) {}
void DispVis(void) {}
int CBF_SelectSource(int, int, int, void*, int, int) { return 0; }
int CBF_DispGF(int, int, int, void*, int, int) { return 0; }
int CBF_DispGFBig(int, int, int, void*, int, int) { return 0; }
int CBF_GraphRaw1(int, int, int, void*, int, int) { return 0; }
int CBF_GraphNormInt(int, int, int, void*, int, int) { return 0; }
int CBF_GraphGF(int, int, int, void*, int, int) { return 0; }
void InitPanelGraph(void) {}
void SetPanelGraphData(void) {}
void SetGraphVisible(void) {}
int CBF_GRAPHP(int, int, void*, int, int) { return 0; }
int CBF_ButtonShowGraph(int, int, int, void*, int, int) { return 0; }
int CBF_EditSignal(int, int, int, void*, int, int) { return 0; }
int CBF_PanelGraphGraph(int, int, int, void*, int, int) { return 0; }

}  // namespace corvel
