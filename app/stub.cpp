// Placeholder bodies until this module is built.
#include "app/mainpanel.h"

namespace corvel {

void ShowHelp(const char*) {}
int HelpOnly(int, const char*) { return 0; }
int CBF_DispChRef(int, int, int, void*, int, int) { return 0; }
int CBF_DispChDir(int, int, int, void*, int, int) { return 0; }
int CBF_DispChDif(int, int, int, void*, int, int) { return 0; }
int CBF_BarChRef(int, int, int, void*, int, int) { return 0; }
int CBF_BarChDir(int, int, int, void*, int, int) { return 0; }
int CBF_BarChDif(int, int, int, void*, int, int) { return 0; }
int CBF_DispNorm(int, int, int, void*, int, int) { return 0; }
int CBF_DispINT(int, int, int, void*, int, int) { return 0; }
int CBF_DispVec(int, int, int, void*, int, int) { return 0; }
int CBF_DispStatus(int, int, int, void*, int, int) { return 0; }

}  // namespace corvel
