// What the program requires of each panel: every control with its kind,
// value type and callback.
#pragma once

#include "platform/ui.h"
#include "uir_ids.h"

namespace paneltable {

struct Ctrl {
    const char* name;
    int id;                // identity from the generated header
    int kind;              // CTRL_KIND_*
    int type;              // DT_*
    const char* callback;  // "" when none
};

enum {
    CMD = CTRL_KIND_COMMAND,
    NUM = CTRL_KIND_NUMERIC,
    IND = CTRL_KIND_INDICATOR,
    TXT = CTRL_KIND_TEXT,
    BOX = CTRL_KIND_TEXTBOX,
    RING = CTRL_KIND_RING,
    TOG = CTRL_KIND_TOGGLE,
    SW = CTRL_KIND_SWITCH,
    SLD = CTRL_KIND_SLIDER,
    BAR = CTRL_KIND_BAR,
    TAB = CTRL_KIND_TABLE,
    STRIP = CTRL_KIND_STRIPCHART,
    GRAPH = CTRL_KIND_GRAPH,
    PIC = CTRL_KIND_PICTURE,
    DECO = CTRL_KIND_DECORATION,
};

// The passive captions of the parameter group are text controls (kind label).
const Ctrl kP[] = {
    {"HeaderBackground", P_HEADERBACKGROUND, DECO, DT_NONE, ""},
    {"PictureLogo", P_PICTURELOGO, PIC, DT_NONE, ""},
    {"EditConnect", P_EDITCONNECT, NUM, DT_U16, "CBF_EditConnect"},
    {"SelectRAM", P_SELECTRAM, TOG, DT_INT, "CBF_SelectRAM"},
    {"SelectEEPROM", P_SELECTEEPROM, TOG, DT_INT, "CBF_SelectEEPROM"},
    {"SelectFILE", P_SELECTFILE, TOG, DT_INT, "CBF_SelectFILE"},
    {"ButtonSend", P_BUTTONSEND, CMD, DT_NONE, "CBF_ButtonSend"},
    {"ButtonGet", P_BUTTONGET, CMD, DT_NONE, "CBF_ButtonGet"},
    {"ButtonGo", P_BUTTONGO, CMD, DT_NONE, "CBF_ButtonGo"},
    {"ButtonStop", P_BUTTONSTOP, CMD, DT_NONE, "CBF_ButtonStop"},
    {"DispStatus", P_DISPSTATUS, TXT, DT_STRING, "CBF_DispStatus"},
    {"ButtonCalibrate", P_BUTTONCALIBRATE, CMD, DT_NONE, "CBF_ButtonCalibrate"},
    {"ButtonOpenRecorder", P_BUTTONOPENRECORDER, CMD, DT_NONE, "CBF_ButtonOpenRecorder"},
    {"ParaVisible", P_PARAVISIBLE, SW, DT_INT, "CBF_ParaVisible"},
    {"ParaDeco1", P_PARADECO1, TXT, DT_STRING, ""},
    {"SlidePower", P_SLIDEPOWER, SLD, DT_U16, "CBF_SlidePower"},
    {"EditPmod", P_EDITPMOD, RING, DT_U16, "CBF_EditPmod"},
    {"ParaDeco2", P_PARADECO2, TXT, DT_STRING, ""},
    {"Evalmode", P_EVALMODE, RING, DT_U16, "CBF_Evalmode"},
    {"ParaDeco3", P_PARADECO3, TXT, DT_STRING, ""},
    {"EditTrigger", P_EDITTRIGGER, RING, DT_U16, "CBF_EditTrigger"},
    {"ParaDeco4", P_PARADECO4, TXT, DT_STRING, ""},
    {"EditAverage", P_EDITAVERAGE, NUM, DT_U16, "CBF_EditAverage"},
    {"ParaDeco5", P_PARADECO5, TXT, DT_STRING, ""},
    {"EditHold", P_EDITHOLD, NUM, DT_U16, "CBF_EditHold"},
    {"ParaDeco6", P_PARADECO6, TXT, DT_STRING, ""},
    {"EditIntlim", P_EDITINTLIM, NUM, DT_U16, "CBF_EditIntlim"},
    {"ParaDeco7", P_PARADECO7, TXT, DT_STRING, ""},
    {"EditBias", P_EDITBIAS, NUM, DT_S16, "CBF_EditBias"},
    {"ParaDeco8", P_PARADECO8, TXT, DT_STRING, ""},
    {"EditMaxNo", P_EDITMAXNO, NUM, DT_U16, "CBF_EditMaxNo"},
    {"ParaDeco9", P_PARADECO9, TXT, DT_STRING, ""},
    {"EditDigitalOutmode", P_EDITDIGITALOUTMODE, RING, DT_U16, "CBF_EditDigitalOutmode"},
    {"ParaDeco10", P_PARADECO10, TXT, DT_STRING, ""},
    {"AnaOutBeg", P_ANAOUTBEG, NUM, DT_U16, "CBF_AnaOutBegEnd"},
    {"AnaOutEnd", P_ANAOUTEND, NUM, DT_U16, "CBF_AnaOutBegEnd"},
    {"ExternTeach", P_EXTERNTEACH, SW, DT_U16, "CBF_ExternTeach"},
    {"TeachTable", P_TEACHTABLE, TAB, DT_NONE, ""},
    {"EditNo", P_EDITNO, NUM, DT_U16, "CBF_EditNo"},
    {"RadioInc", P_RADIOINC, TOG, DT_INT, "CBF_RadioInc"},
    {"ButtonTeachDataTo", P_BUTTONTEACHDATATO, CMD, DT_NONE, "CBF_ButtonTeachDataTo"},
    {"ButtonResetTable", P_BUTTONRESETTABLE, CMD, DT_NONE, "CBF_ButtonResetTable"},
    {"DispChRef", P_DISPCHREF, IND, DT_U16, "CBF_DispChRef"},
    {"DispChDir", P_DISPCHDIR, IND, DT_U16, "CBF_DispChDir"},
    {"DispChDif", P_DISPCHDIF, IND, DT_U16, "CBF_DispChDif"},
    {"BarChRef", P_BARCHREF, BAR, DT_U16, "CBF_BarChRef"},
    {"BarChDir", P_BARCHDIR, BAR, DT_U16, "CBF_BarChDir"},
    {"BarChDif", P_BARCHDIF, BAR, DT_U16, "CBF_BarChDif"},
    {"DispVec", P_DISPVEC, IND, DT_U16, "CBF_DispVec"},
    {"DispTemp", P_DISPTEMP, IND, DT_U16, ""},
    {"DispNorm", P_DISPNORM, IND, DT_U16, "CBF_DispNorm"},
    {"DispINT", P_DISPINT, IND, DT_U16, "CBF_DispINT"},
    {"DispGF", P_DISPGF, IND, DT_DOUBLE, "CBF_DispGF"},
    {"SelectSource", P_SELECTSOURCE, RING, DT_U16, "CBF_SelectSource"},
    {"GraphNorm", P_GRAPHNORM, STRIP, DT_NONE, "CBF_GraphNormInt"},
    {"GraphInt", P_GRAPHINT, STRIP, DT_NONE, "CBF_GraphNormInt"},
    {"GraphGF", P_GRAPHGF, STRIP, DT_NONE, "CBF_GraphGF"},
    {"GraphRaw1", P_GRAPHRAW1, STRIP, DT_NONE, "CBF_GraphRaw1"},
    {"DispGFBig", P_DISPGFBIG, IND, DT_DOUBLE, "CBF_DispGFBig"},
    {"ButtonPorts", P_BUTTONPORTS, CMD, DT_NONE, "CBF_ButtonPorts"},
    {"DispStatusDetail", P_DISPSTATUSDETAIL, TXT, DT_STRING, "CBF_DispStatusDetail"},
    {"DispLive", P_DISPLIVE, TXT, DT_STRING, "CBF_DispLive"},
    {"DispTransfer", P_DISPTRANSFER, TXT, DT_STRING, "CBF_DispTransfer"},
    {"DispUnsent", P_DISPUNSENT, TXT, DT_STRING, "CBF_DispUnsent"},
    {"ButtonRestoreEdits", P_BUTTONRESTOREEDITS, CMD, DT_NONE, "CBF_ButtonRestoreEdits"},
};

const Ctrl kRECP[] = {
    {"DispRecFile", RECP_DISPRECFILE, BOX, DT_STRING, "CBF_DispRecFile"},
    {"ButtonSelRecFile", RECP_BUTTONSELRECFILE, CMD, DT_NONE, "CBF_ButtonSelRecFile"},
    {"EditInterval", RECP_EDITINTERVAL, NUM, DT_U16, "CBF_EditInterval"},
    {"EditRecVal", RECP_EDITRECVAL, NUM, DT_U16, "CBF_EditRecVal"},
    {"DispRecordDays", RECP_DISPRECORDDAYS, IND, DT_INT, "CBF_DispRecordTime"},
    {"DispRecordHours", RECP_DISPRECORDHOURS, IND, DT_INT, "CBF_DispRecordTime"},
    {"DispRecordMinutes", RECP_DISPRECORDMINUTES, IND, DT_INT, "CBF_DispRecordTime"},
    {"DispRecordSeconds", RECP_DISPRECORDSECONDS, IND, DT_INT, "CBF_DispRecordTime"},
    {"DispRecordedValues", RECP_DISPRECORDEDVALUES, IND, DT_U16, "CBF_DispRecordedValues"},
    {"DispRemaining", RECP_DISPREMAINING, IND, DT_INT, "CBF_DispRemaining"},
    {"ButtonStartRecord", RECP_BUTTONSTARTRECORD, CMD, DT_NONE, "CBF_ButtonStartRecord"},
    {"ButtonManualRecord", RECP_BUTTONMANUALRECORD, CMD, DT_NONE, "CBF_ButtonManualRecord"},
    {"ButtonStopRecord", RECP_BUTTONSTOPRECORD, CMD, DT_NONE, "CBF_ButtonStopRecord"},
    {"RecDispChRef", RECP_RECDISPCHREF, IND, DT_U16, ""},
    {"RecBarChRef", RECP_RECBARCHREF, BAR, DT_U16, ""},
    {"RecDispChDir", RECP_RECDISPCHDIR, IND, DT_U16, ""},
    {"RecBarChDir", RECP_RECBARCHDIR, BAR, DT_U16, ""},
    {"RecDispChDif", RECP_RECDISPCHDIF, IND, DT_U16, ""},
    {"RecBarChDif", RECP_RECBARCHDIF, BAR, DT_U16, ""},
    {"RecDispNorm", RECP_RECDISPNORM, IND, DT_U16, ""},
    {"RecDispInt", RECP_RECDISPINT, IND, DT_U16, ""},
    {"DispGfRecord", RECP_DISPGFRECORD, IND, DT_U16, "CBF_DispGfRecord"},
    {"RecDispTemp", RECP_RECDISPTEMP, IND, DT_U16, ""},
    {"ButtonShowGraph", RECP_BUTTONSHOWGRAPH, CMD, DT_NONE, "CBF_ButtonShowGraph"},
    {"ButtonCloseRecorder", RECP_BUTTONCLOSERECORDER, CMD, DT_NONE, "CBF_ButtonCloseRecorder"},
    {"DispRecordLost", RECP_DISPRECORDLOST, TXT, DT_STRING, ""},
    {"BarRecProgress", RECP_BARRECPROGRESS, BAR, DT_INT, "CBF_BarRecProgress"},
    {"DispTimeLeft", RECP_DISPTIMELEFT, TXT, DT_STRING, "CBF_DispTimeLeft"},
};

const Ctrl kCALIBP[] = {
    {"SlideRefPower", CALIBP_SLIDEREFPOWER, SLD, DT_U16, "CBF_SlideRefPower"},
    {"CalibDispChDir", CALIBP_CALIBDISPCHDIR, IND, DT_U16, ""},
    {"CalibDispChRef", CALIBP_CALIBDISPCHREF, IND, DT_U16, ""},
    {"ButtonStartCalib", CALIBP_BUTTONSTARTCALIB, CMD, DT_NONE, "CBF_ButtonStartCalib"},
    {"ButtonConfirmCalib", CALIBP_BUTTONCONFIRMCALIB, CMD, DT_NONE, "CBF_ButtonConfirmCalib"},
    {"ButtonCloseCalib", CALIBP_BUTTONCLOSECALIB, CMD, DT_NONE, "CBF_ButtonCloseCalib"},
    {"DispCalibStep", CALIBP_DISPCALIBSTEP, TXT, DT_STRING, "CBF_DispCalibStep"},
    {"CalibDispWindow", CALIBP_CALIBDISPWINDOW, TXT, DT_STRING, "CBF_CalibDispWindow"},
};

const Ctrl kGRAPHP[] = {
    {"EditSignal", GRAPHP_EDITSIGNAL, RING, DT_U16, "CBF_EditSignal"},
    {"PanelGraphChRef", GRAPHP_PANELGRAPHCHREF, GRAPH, DT_NONE, "CBF_PanelGraphGraph"},
    {"PanelGraphChDir", GRAPHP_PANELGRAPHCHDIR, GRAPH, DT_NONE, "CBF_PanelGraphGraph"},
    {"PanelGraphChDif", GRAPHP_PANELGRAPHCHDIF, GRAPH, DT_NONE, "CBF_PanelGraphGraph"},
    {"PanelGraphNorm", GRAPHP_PANELGRAPHNORM, GRAPH, DT_NONE, "CBF_PanelGraphGraph"},
    {"PanelGraphInt", GRAPHP_PANELGRAPHINT, GRAPH, DT_NONE, "CBF_PanelGraphGraph"},
    {"PanelGraphGf", GRAPHP_PANELGRAPHGF, GRAPH, DT_NONE, "CBF_PanelGraphGraph"},
    {"PanelGraphTemp", GRAPHP_PANELGRAPHTEMP, GRAPH, DT_NONE, "CBF_PanelGraphGraph"},
    {"DispChRefGraph", GRAPHP_DISPCHREFGRAPH, IND, DT_INT, ""},
    {"DispChDirGraph", GRAPHP_DISPCHDIRGRAPH, IND, DT_INT, ""},
    {"DispChDifGraph", GRAPHP_DISPCHDIFGRAPH, IND, DT_INT, ""},
    {"DispNormGraph", GRAPHP_DISPNORMGRAPH, IND, DT_INT, ""},
    {"DispIntGraph", GRAPHP_DISPINTGRAPH, IND, DT_INT, ""},
    {"DispGfGraph", GRAPHP_DISPGFGRAPH, IND, DT_INT, ""},
    {"DispTempGraph", GRAPHP_DISPTEMPGRAPH, IND, DT_INT, ""},
    {"ButtonOpenRecFile", GRAPHP_BUTTONOPENRECFILE, CMD, DT_NONE, "CBF_ButtonOpenRecFile"},
    {"ButtonExportCsv", GRAPHP_BUTTONEXPORTCSV, CMD, DT_NONE, "CBF_ButtonExportCsv"},
    {"DispViewFile", GRAPHP_DISPVIEWFILE, TXT, DT_STRING, "CBF_DispViewFile"},
    {"DispCursor", GRAPHP_DISPCURSOR, TXT, DT_STRING, "CBF_DispCursor"},
    {"ButtonFitY", GRAPHP_BUTTONFITY, CMD, DT_NONE, "CBF_ButtonFitY"},
    {"ButtonCloseGraph", GRAPHP_BUTTONCLOSEGRAPH, CMD, DT_NONE, "CBF_ButtonCloseGraph"},
    {"ButtonReport", GRAPHP_BUTTONREPORT, CMD, DT_NONE, "CBF_ButtonReport"},
    {"DispStats", GRAPHP_DISPSTATS, BOX, DT_STRING, "CBF_DispStats"},
    {"SelectBand", GRAPHP_SELECTBAND, RING, DT_U16, "CBF_SelectBand"},
    {"EditBandRow", GRAPHP_EDITBANDROW, NUM, DT_U16, "CBF_EditBand"},
    {"EditBandLo", GRAPHP_EDITBANDLO, NUM, DT_U16, "CBF_EditBand"},
    {"EditBandHi", GRAPHP_EDITBANDHI, NUM, DT_U16, "CBF_EditBand"},
    {"DispBand", GRAPHP_DISPBAND, BOX, DT_STRING, "CBF_DispStats"},
    {"GraphHistogram", GRAPHP_GRAPHHISTOGRAM, GRAPH, DT_NONE, "CBF_GraphHistogram"},
};

// Ring item values in item order, and the item chosen initially.
struct Ring {
    int panelResource;
    int id;
    int values[8];
    int count;
    int initial;
};

const Ring kRings[] = {
    {P, P_EDITPMOD, {0, 1}, 2, 0},
    {P, P_EVALMODE, {0, 1}, 2, 0},
    {P, P_EDITTRIGGER, {0, 1, 2}, 3, 0},
    {P, P_EDITDIGITALOUTMODE, {1, 2, 3}, 3, 1},
    {P, P_SELECTSOURCE, {0, 1, 2, 3}, 4, 0},
    {GRAPHP, GRAPHP_EDITSIGNAL, {0, 1, 2, 3, 4, 5, 6}, 7, 0},
    {GRAPHP, GRAPHP_SELECTBAND, {0, 1, 2}, 3, 0},
};

// Ranges of the numeric inputs and sliders.
struct Range {
    int panelResource;
    int id;
    int min;
    int max;
};

const Range kRanges[] = {
    {P, P_EDITCONNECT, 1, 255},
    {P, P_SLIDEPOWER, 0, 1000},
    {P, P_EDITAVERAGE, 1, 65535},
    {P, P_EDITHOLD, 0, 65535},
    {P, P_EDITINTLIM, 0, 4095},
    {P, P_EDITMAXNO, 0, 31},
    {P, P_ANAOUTBEG, 0, 4095},
    {P, P_ANAOUTEND, 0, 4095},
    {P, P_EDITBIAS, -1000, 1000},
    {P, P_EDITNO, 0, 30},
    {RECP, RECP_EDITINTERVAL, 1, 32767},
    {RECP, RECP_EDITRECVAL, 1, 65535},
    {CALIBP, CALIBP_SLIDEREFPOWER, 0, 1000},
    {GRAPHP, GRAPHP_EDITBANDROW, 0, 30},
    {GRAPHP, GRAPHP_EDITBANDLO, 0, 65535},
    {GRAPHP, GRAPHP_EDITBANDHI, 0, 65535},
};

}  // namespace paneltable
