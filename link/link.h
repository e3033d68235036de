// Sensor link: telegram codec, parameter packet, transactions, port set-up.
#pragma once

namespace corvel {

// ---- telegram codec ----
void FillTxBuf(unsigned short order, unsigned short row);
void GetRxBufPara(void);
void GetRxBufData(void);

// ---- parameter packet and data frame ----
void CopyVarsToPP(void);
void CopyPPtoVars(void);
void CopyCalibVarsToPP(void);
void CopyDatatoVars(void);

// ---- transactions ----
void WaitTransDelay(void);
// Reply wait: samples the input queue until `expected` bytes wait or 2.0 s
// have passed, then reads the count last seen into szReadBuf (never more
// than the buffer holds). With stopFlag set, ends at once (returning false,
// nothing read) when *stopFlag is no longer 1 after a sample.
// True when exactly `expected` bytes were read.
bool ReplyWait(int expected, const unsigned short* stopFlag);
// "TIMEOUT" in DispStatus and the popup titled with the version text.
void TimeoutReport(void);
// How many time-out reports were given since start; a transaction failed
// when the count moved while it ran.
unsigned TimeoutReports(void);
// The transfer line after a parameter send or read with the sensor.
void ReportSensorTransfer(bool ok, bool sending, unsigned short where);
void SendPara(void);
void GetPara(void);
void GetData(void);
void GetDataFrame(void);
// Whether the reply of the last GetDataFrame was accepted.
bool LastFrameAccepted(void);

// ---- port set-up and link check ----
void InitRS232(unsigned short port);
void CheckComLine(void);
// Called first by every action that needs the sensor: when an exchange
// found the device gone, reopens the same COM number and runs the link
// check (without reading parameters). False when the port is still not
// usable; the status line then says why and the action is to stop.
bool EnsurePort(void);
// Shows beside the status text what COM `port` stands for, or why it
// cannot be used and what helps.
void ShowPortDetail(unsigned short port);

int CBF_ButtonSend(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonGet(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonGo(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonStop(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditConnect(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonPorts(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispStatusDetail(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);

}  // namespace corvel
