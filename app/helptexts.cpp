// The help and warning texts, kept apart from the code that shows them so
// that each can be quoted exactly once.
#include "app/helptexts.h"

namespace corvel {

const char InfoEditConnect[] = " Select a serial COM-PORT.";
const char InfoButtonPorts[] =
    " Opens the list of the serial devices of this PC. \n There a device can be linked to a COM number \n "
    "(the link survives re-plugging a USB adapter) and a COM number can be used at once.";
const char InfoPortChooser[] =
    " Devices: the serial devices of this PC, newest plugged first, with maker and model. \n COM links: "
    "which COM number stands for which device. \n Choose a device and a COM number, then LINK; REMOVE LINK "
    "deletes the link \n of the COM number; USE COM changes to that COM number at once. \n Keys: Tab moves "
    "between the parts, Enter uses the COM number, Esc closes.";
const char InfoStatusDetail[] =
    " Shows the device the COM number stands for, or why the port cannot be used \n and what helps "
    "(for example membership in the group dialout).";
const char InfoSelectMEM[] = " Select the source respectively the target for the parameter transfer.";
const char InfoButtonSend[] =
    " All the parameters of the PC-User-Interface are transferred to the sensor or to a selectable file. \n "
    "The target of the parameter transfer is determined by the select button (RAM, EEPROM, FILE). \n "
    "Shortcut Key: F9. ";
const char InfoButtonGet[] =
    " Sensor or file parameters are transferred to the PC-User-Interface. \n The source of the parameter "
    "transfer is determined by the select button (RAM, EEPROM, FILE). \n Shortcut Key: F10. ";
const char InfoButtonGo[] =
    " Starts data transfer (CH_REF, CH_DIR, CH_DIF, NORM, INT, V-No:) from sensor to PC. \n The data are "
    "shown in the displays, bars and in the graph.\n Shortcut Key: F11. ";
const char InfoButtonStop[] = " Stops data transfer from sensor to PC.\n Shortcut Key: F12. ";
const char InfoStatus[] = " Displays serial interface status messages.";
const char InfoDispLive[] =
    " Shows whether live data is running (green) and how many frames per second arrive. \n"
    " When it has stopped, the displays are dimmed and the time of the last frame is shown. ";
const char InfoDispTransfer[] =
    " Shows the result of the last parameter transfer, port change or link check \n and when it happened. ";
const char InfoDispUnsent[] =
    " Counts the parameters and TEACH TABLE rows whose panel values differ from what was \n"
    " last sent to or read from the sensor or the parameter file. Each of them is marked \n"
    " with a bold frame and a dot before its name; resting the mouse on it shows the value sent or read. \n"
    " After a start without a sensor the panel holds the program's start values, and this says so. ";
const char InfoButtonRestoreEdits[] =
    " Brings back the unsent edits that the last GET, FILE load, port change or calibration \n"
    " replaced with the values read. They show as unsent again; SEND transfers them. \n"
    " Possible right after that read only: any later edit, send or read ends it. \n"
    " Shortcut Key: Ctrl+Z. ";
const char InfoBarRecProgress[] = " Displays how much of the recording is done. ";
const char InfoDispTimeLeft[] = " Displays the time the remaining values will take at the chosen interval. ";
const char InfoDispCalibStep[] =
    " Displays the step of the calibration search, the power tried \n and the CH_DIR value measured. ";
const char InfoCalibDispWindow[] =
    " Displays the window the CH_DIR value must lie in for the search to pass \n"
    " and whether the last value measured lies inside it. ";
const char InfoButtonOpenRecFile[] =
    " Opens a record file and shows its frames in the graphs. \n"
    " Mouse wheel: zoom (with Ctrl: zoom the values), drag: move, double click: whole run. \n"
    " Shortcut Key: Ctrl+O. ";
const char InfoButtonExportCsv[] =
    " Saves the record file shown as CSV: frame number, ISO 8601 date and time, \n"
    " and the seven values (GF in tenths of a unit, as recorded). \n"
    " Shortcut Key: Ctrl+E. ";
const char InfoButtonCloseGraph[] =
    " Close the graph panel; its graphs keep their content. \n Shortcut Key: Esc. ";
const char InfoButtonFitY[] =
    " Fits the Y axis to the values of the frames shown. \n"
    " A double click on the graph shows the whole run again. \n"
    " Shortcut Key: Ctrl+Y. ";
const char InfoSelectBand[] =
    " Chooses the tolerance band of the signal shown: NONE, the band of a TEACH ROW \n"
    " (as the scope draws it) or two typed LIMITS. Frames inside, below and above it, \n"
    " and Pp and Ppk from the overall standard deviation, are shown below. ";
const char InfoEditBand[] =
    " The teach row of the band, or its lower and upper limits, in the signal's own scale \n"
    " (GF in tenths of a unit). ";
const char InfoDispStats[] =
    " Statistics of the seven signals for the frames in view (zoom, move) or the range \n"
    " marked with Shift+drag on the graph; a double click returns to the whole run. \n"
    " GF in tenths of a unit; std with n - 1. ";
const char InfoGraphHistogram[] =
    " Histogram of the signal shown over the same frames: the band dashed, the mean solid. ";
const char InfoButtonReport[] =
    " Writes one A4 page as PDF: the record file, the frames and their dates, the graph \n"
    " of the signal shown with its band, the statistics and the histogram. ";
const char InfoDispViewFile[] = " Shows the record file in the graphs: its name, records and time span. ";
const char InfoDispCursor[] = " Shows frame number, value, date and time of the frame under the mouse. ";
const char InfoSwitchPara[] = " Hide or show the TEACH TABLE.";
const char InfoEditEvalmode[] = "See Manual.";
const char InfoEditPower[] =
    " Select the intensity of the transmitter LED. \n 0 = no intensity,  1000 = full intensity.";
const char InfoEditPmod[] =
    " Select the operating mode of automatic power correction at the transmitter unit. \n STAT: Transmitter "
    "power is constantly kept at the POWER-SLIDER value. \n DYN : Transmitter power is dynamically tuned in "
    "accordance with the amount of radiation that \n       is diffusely reflected from the target. Sensor "
    "should not exceed the dynamic range.";
const char InfoEditAverage[] =
    " Select the number of scanning values (measurement values) over which the raw signal is averaged.";
const char InfoEditTrigger[] =
    " Select the trigger mode for the sensor. \n CONT: Continuous evaluation (no trigger event required). \n "
    "EXT1: Evaluation as long as trigger (IN0) is high. \n       When trigger goes low, the last detected "
    "row (vector) will be hold at the output. \n EXT2: Evaluation as long as trigger (IN0) is high. \n       "
    "When trigger goes low, fail condition is output. ";
const char InfoEditIntlim[] =
    " Select an intensity limit. \n Evaluation is stopped, if the current intensity INT falls below this "
    "limit. \n ERROR STATE is output (V-No: = 255).";
const char InfoEditHold[] = " Select the minimum pulse length when a digital output changes.";
const char InfoEditBias[] =
    " Select an additional bias value for the glossy factor. \n enter bias value in pm. ";
const char InfoEditMaxcolNo[] =
    " Select the number of vectors in the TEACH TABLE to be checked (beginning from row 0). \n Aktive rows "
    "are labelled green, inaktive are labelled red. \n If OUTMODE = BINARY the maximum number of vectors to "
    "be checked is 31. \n If OUTMODE = DIRECT HI or DIRECT LO the maximum number of vectors is 5.";
const char InfoEditDigitalOutmode[] =
    " Select how to control the 5 digital outputs. \n BINARY   : If a vector (row 0-30 in the TEACH TABLE) "
    "is detected, \n            this vector is displayed in V-No: and is set binary to the digital outputs "
    "(OUT0-OUT4). \n DIRECT LO: The maximum number of vectors to be taught is 5. \n            If a vector "
    "(row 0-4 in the TEACH TABLE) is detected, \n            the special digital output is set to LO, all "
    "others are HI. \n DIRECT HI: The maximum number of vectors to be taught is 5. \n            If a vector "
    "(row 0-4 in the TEACH TABLE) is detected, \n            the special digital output is set to HI, all "
    "others are LO. \n If no vector is detected, V-No: is 255.";
const char InfoEditAnaOutBegEnd[] =
    " Select how to control the analog outputs. \n Current output goes from 4mA to 20mA in the selected "
    "range. \n Voltage output goes from 0V to 10V in the selected range.";
const char InfoMaxColNo[] =
    " ATTENTION! \n \n MAXVEC-No. IS TOO HIGH \n DECREASE MAXVEC-No. OR SWITCH TO OUTMODE=BINARY";
const char InfoAnaOutNotOk[] = "Notice:  \n Analog output range must be higher than 10 units.";
const char InfoButtonTeachDataTo[] =
    " Current measured values are assigned to the \n TEACH TABLE row selected in the No.: function field.";
const char InfoButtonResetTable[] = " Reset the TEACH TABLE. \n All cells are set to 1.";
const char InfoEditNo[] = " Select the current number of a row in the TEACH TABLE for TEACH DATA TO.";
const char InfoRadioInc[] = " Auto increment of Edit Field No.:";
const char InfoDispNorm[] =
    " Displays the calculated norm value. \n Formula for calculation: NORM = (CH_DIR*1000)/(CH_DIR+CH_DIF).";
const char InfoDispInt[] =
    " Displays the intensity arriving at the receivers. \n Formula for calculation: INT = (CH_DIR+CH_DIF)/2.";
const char InfoDispRaw[] = " Displays the current intensity of CH_REF, CH_DIR, CH_DIF. ";
const char InfoDispChDir[] =
    " Displays the RAW value of the direct reflection channel. \n Raw value must be within 3250 and 3750 for "
    "calibration.";
const char InfoDispVec[] =
    " Displays the currently detected vector number \n in accordance with the row in the TEACH TABLE.";
const char InfoDispBars[] = " Displays the RAW values of CH_REF, CH_DIR  and CH_DIF.";
const char InfoSelectSource[] = " Select a signal to be displayed in the graph.";
const char InfoDispGf[] =
    " Displays the current glossy factor. \n Double click opens a big display. \n Close the big display with "
    "a right mouse click.";
const char InfoGraph[] = " Displays a signal selected with SOURCE.";
const char InfoGraphGF[] =
    " Displays the GLOSSY FACTOR. \n Left mouse double click on the Y-AXIS starts an auto zoom. \n Left "
    "mouse click scales the Y-AXIS fix.";
const char InfoButtonCalibration[] = " Button to calibrate the sensor ";
const char InfoButtonOpenRecorder[] = " Open recorder for data record. ";
const char InfoButtonShowGraph[] = " Open panel with graphical display.";
const char InfoEditSignal[] = " Select Signal to be displayed in the graph. ";
const char InfoPanelGraphGraph[] = " Displays the signals selected with SIGNAL. ";
const char InfoButtonCloseRecorder[] = " Close recorder and return to scope. ";
const char InfoButtonSelRecFile[] = " Select a record file for data save. ";
const char InfoDispRecFile[] = " Shows the path of the record file. ";
const char InfoEditInterval[] = " Choose a even interval for recording. \n Minimum interval is 1 second. ";
const char InfoEditRecVal[] = " Choose how many Data should be recorded. ";
const char InfoDispRecordTime[] = " Displays the time for recording \n when all VALUES will be recorded.";
const char InfoDispRecordedValues[] = " Displays how many values are already recorded.";
const char InfoDispRemaining[] = " Displays how many values remain to be recorded.";
const char InfoButtonStartRecord[] = " Start data record.";
const char InfoButtonManualRecord[] = " Record one frame manually \n and append to existing file. ";
const char InfoButtonStopRecord[] = " Stop data record.";
const char InfoDispGfRecord[] = " Displays the current glossy factor. ";
const char InfoButtonStartCalib[] = " Starts calibration with Reference 100 units. ";
const char InfoButtonConfirmCalib[] = " Confirm calibration. ";
const char InfoButtonCloseCalib[] = " Close calibration panel and return to scope. ";
const char InfoSlideRefPower[] =
    " Select the intensity of the transmitter LED. \n 0 = no intensity,  1000 = full intensity.";

}  // namespace corvel
