// Placeholder bodies until this module is built.
#include "link/link.h"

namespace corvel {

void FillTxBuf(unsigned short, unsigned short) {}
void GetRxBufPara(void) {}
void GetRxBufData(void) {}
void CopyVarsToPP(void) {}
void CopyPPtoVars(void) {}
void CopyCalibVarsToPP(void) {}
void CopyDatatoVars(void) {}
void WaitTransDelay(void) {}
bool ReplyWait(int, const unsigned short*) { return false; }
void TimeoutReport(void) {}
void SendPara(void) {}
void GetPara(void) {}
void GetData(void) {}
void GetDataFrame(void) {}
void InitRS232(unsigned short) {}
void CheckComLine(void) {}
int CBF_ButtonSend(int, int, int, void*, int, int) { return 0; }
int CBF_ButtonGet(int, int, int, void*, int, int) { return 0; }
int CBF_ButtonGo(int, int, int, void*, int, int) { return 0; }
int CBF_ButtonStop(int, int, int, void*, int, int) { return 0; }
int CBF_EditConnect(int, int, int, void*, int, int) { return 0; }

}  // namespace corvel
