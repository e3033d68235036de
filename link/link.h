// Sensor link: telegram codec, parameter packet, transactions, port set-up.
#pragma once

#include "link/engine.h"

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

// ---- transactions (the panel-free engine is link/engine.h) ----
// The operator's reports: a time-out (titled with the version text), and
// no sensor at the link check.
extern const char kTimeoutText[];
extern const char kNoLinkText[];
// "TIMEOUT" in DispStatus and the popup titled with the version text.
void TimeoutReport(void);
// The transfer line after a parameter send or read with the sensor.
void ReportSensorTransfer(bool ok, bool sending, unsigned short where);
// Each gives the time-out report on a failure and returns what happened.
LinkResult SendPara(void);
LinkResult GetPara(void);
void GetData(void);
LinkResult GetDataFrame(void);

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
