// The program's state: every process-wide variable, shared by all modules.
// They live in namespace corvel so that names such as `poll` and `sync`
// do not meet the C library's functions of the same name.
#pragma once

#include "link/packet.h"
#include "platform/files.h"

namespace corvel {

// ---- panels and files ----
extern int panel;       // P
extern int recpanel;    // RECP
extern int calibpanel;  // CALIBP
extern int graphpanel;  // GRAPHP
extern char proj_dir[kPathSize];
extern char file_name[kPathSize];

// ---- serial link and telegrams ----
extern unsigned short com;
extern short ret;
extern char szStatus[48];
extern unsigned short sync;
extern unsigned short order;
extern unsigned short anzframe;
extern unsigned short anzpara;
extern unsigned short anzdata;
extern unsigned short nBytesW;
extern unsigned short nBytesR;
extern unsigned char szWriteBuf[1024];
extern unsigned char szReadBuf[1024];
extern unsigned short pp[173];
extern unsigned short databuf[16];
extern char version[49];
extern unsigned short target;
constexpr int RAM = 1;
constexpr int EEPROM = 2;
constexpr int DATFILE = 3;

// ---- run flags and timing ----
extern unsigned short poll;
extern unsigned short pollrecord;
extern double transbeg;
extern double waitdel;
extern double tstart;
extern double tdiff;

// ---- sensor parameters ----
extern unsigned short power;
extern unsigned short pmod;
extern unsigned short average;
extern unsigned short evalmode;
extern unsigned short hold;
extern unsigned short intlim;
extern unsigned short maxno;
extern unsigned short digitalout;
extern unsigned short trigger;
extern unsigned short extteach;
extern unsigned short anaoutbeg;
extern unsigned short anaoutend;
extern short bias;
extern unsigned short ctt[kTeachRows][kTeachColumns];

// ---- last measured data ----
extern unsigned short dataChRef;
extern unsigned short dataChDir;
extern unsigned short dataChDif;
extern unsigned short dataNorm;
extern unsigned short dataInt;
extern unsigned short dataGf;
extern unsigned short dataVec;
extern unsigned short dataTemp;

// ---- display, recorder and calibration state ----
extern unsigned short source;
// The scope graph's display sources, the values of its ring control.
constexpr unsigned short kSourceNorm = 0;
constexpr unsigned short kSourceInt = 1;
constexpr unsigned short kSourceGf = 2;
constexpr unsigned short kSourceRaw = 3;
constexpr int kSources = 4;
extern unsigned short scale;
// Samples each history buffer holds.
constexpr int kHistoryLength = 300;
extern double rawbuf[kHistoryLength];
extern double normbuf[kHistoryLength];
extern double intbuf[kHistoryLength];
extern double gfbuf[kHistoryLength];
extern unsigned short graphcnt;
extern unsigned short bufcnt[2];
extern unsigned short bufchref[2];
extern unsigned short bufchdir[2];
extern unsigned short bufchdif[2];
extern unsigned short bufnorm[2];
extern unsigned short bufint[2];
extern unsigned short bufgf[2];
extern unsigned short buftemp[2];
extern unsigned short zeitint;
extern unsigned short anzwerte;
extern unsigned short otcrec;
extern unsigned short reczeit;
extern unsigned short calibok;

// ---- start-up and the main panel ----
int WinMain(int hInstance, int hPrevInstance, char* lpszCmdLine, int nCmdShow);
void InitVars(void);
// Loads the four panels into their handles, in start-up's order; stops at
// the first that fails. 0, or -1 on a failure.
int LoadPanels(void);
int CBF_P(int panel, int event, void* callbackData, int eventData1, int eventData2);

// The name of the panel file beside the executable.
extern const char* const kPanelFile;  // "CorvelV20.uir"

}  // namespace corvel
