// The definitions of the program's process-wide state, with the values a
// fresh start has before InitVars runs.
#include "app/corvel.h"

namespace corvel {

int panel;
int recpanel;
int calibpanel;
int graphpanel;
char proj_dir[kPathSize];
char file_name[kPathSize];

unsigned short com = 1;
short ret;
char szStatus[48];
unsigned short sync = 85;
unsigned short order = 1;
unsigned short anzframe = 16;
unsigned short anzpara = 140;
unsigned short anzdata = 16;
unsigned short nBytesW;
unsigned short nBytesR;
unsigned char szWriteBuf[1024];
unsigned char szReadBuf[1024];
unsigned short pp[173];
unsigned short databuf[16];
char version[49];
unsigned short target = RAM;

unsigned short poll;
unsigned short pollrecord;
double transbeg;
double waitdel = 0.1;
double tstart;
double tdiff;

unsigned short power;
unsigned short pmod;
unsigned short average;
unsigned short evalmode;
unsigned short hold;
unsigned short intlim;
unsigned short maxno;
unsigned short digitalout;
unsigned short trigger;
unsigned short extteach;
unsigned short anaoutbeg;
unsigned short anaoutend;
short bias;
unsigned short ctt[kTeachRows][kTeachColumns];

unsigned short dataChRef;
unsigned short dataChDir;
unsigned short dataChDif;
unsigned short dataNorm;
unsigned short dataInt;
unsigned short dataGf;
unsigned short dataVec;
unsigned short dataTemp;

unsigned short source;
unsigned short scale;
double rawbuf[kHistoryLength];
double normbuf[kHistoryLength];
double intbuf[kHistoryLength];
double gfbuf[kHistoryLength];
unsigned short graphcnt;
unsigned short bufcnt[2];
unsigned short bufchref[2];
unsigned short bufchdir[2];
unsigned short bufchdif[2];
unsigned short bufnorm[2];
unsigned short bufint[2];
unsigned short bufgf[2];
unsigned short buftemp[2];
unsigned short zeitint;
unsigned short anzwerte;
unsigned short otcrec;
unsigned short reczeit;
unsigned short calibok;

const char* const kPanelFile = "CorvelV20.uir";

}  // namespace corvel
