// Help texts shown on a right click, and the warnings of the parameter checks.
// Every text is quoted exactly, blanks included.
#pragma once

namespace corvel {

extern const char InfoEditConnect[];
extern const char InfoButtonPorts[];
extern const char InfoPortChooser[];
extern const char InfoStatusDetail[];
extern const char InfoSelectMEM[];
extern const char InfoButtonSend[];
extern const char InfoButtonGet[];
extern const char InfoButtonGo[];
extern const char InfoButtonStop[];
extern const char InfoStatus[];
extern const char InfoDispLive[];
extern const char InfoDispTransfer[];
extern const char InfoDispUnsent[];
extern const char InfoButtonRestoreEdits[];
extern const char InfoBarRecProgress[];
extern const char InfoDispTimeLeft[];
extern const char InfoDispCalibStep[];
extern const char InfoButtonOpenRecFile[];
extern const char InfoButtonExportCsv[];
extern const char InfoDispViewFile[];
extern const char InfoDispCursor[];
extern const char InfoSwitchPara[];
extern const char InfoEditEvalmode[];
extern const char InfoEditPower[];
extern const char InfoEditPmod[];
extern const char InfoEditAverage[];
extern const char InfoEditTrigger[];
extern const char InfoEditIntlim[];
extern const char InfoEditHold[];
extern const char InfoEditBias[];
extern const char InfoEditMaxcolNo[];
extern const char InfoEditDigitalOutmode[];
extern const char InfoEditAnaOutBegEnd[];
extern const char InfoMaxColNo[];
extern const char InfoAnaOutNotOk[];
extern const char InfoButtonTeachDataTo[];
extern const char InfoButtonResetTable[];
extern const char InfoEditNo[];
extern const char InfoRadioInc[];
extern const char InfoDispNorm[];
extern const char InfoDispInt[];
extern const char InfoDispRaw[];
extern const char InfoDispChDir[];
extern const char InfoDispVec[];
extern const char InfoDispBars[];
extern const char InfoSelectSource[];
extern const char InfoDispGf[];
extern const char InfoGraph[];
extern const char InfoGraphGF[];
extern const char InfoButtonCalibration[];
extern const char InfoButtonOpenRecorder[];
extern const char InfoButtonShowGraph[];
extern const char InfoEditSignal[];
extern const char InfoPanelGraphGraph[];
extern const char InfoButtonCloseRecorder[];
extern const char InfoButtonSelRecFile[];
extern const char InfoDispRecFile[];
extern const char InfoEditInterval[];
extern const char InfoEditRecVal[];
extern const char InfoDispRecordTime[];
extern const char InfoDispRecordedValues[];
extern const char InfoDispRemaining[];
extern const char InfoButtonStartRecord[];
extern const char InfoButtonManualRecord[];
extern const char InfoButtonStopRecord[];
extern const char InfoDispGfRecord[];
extern const char InfoButtonStartCalib[];
extern const char InfoButtonConfirmCalib[];
extern const char InfoButtonCloseCalib[];
extern const char InfoSlideRefPower[];

}  // namespace corvel
