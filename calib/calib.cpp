// The calibration procedure: the power search against the reference target,
// its result on the panel, and the store in the sensor's EEPROM.
#include "calib/calib.h"

#include <cstdio>
#include <cstring>

#include "app/corvel.h"
#include "app/mainpanel.h"
#include "link/link.h"
#include "params/params.h"
#include "params/unsent.h"
#include "platform/platform.h"
#include "uir_ids.h"

namespace corvel {

const char kSearchFailed[] =
    " Calibration can not be done. \n No proper power value can be find. \n Make sure that sensor shines on "
    "the "
    "reference \n with glossy factor 100 units. \n Make sure that the optical glasses are clean.";
const char kCommFailure[] = " Communication failure! \n Calibration can not be done. ";

namespace {

const unsigned short kFirstPower = 512;
const int kIterations = 10;
const unsigned short kTargetDir = 3850;
const unsigned short kPowerCeiling = 1000;
const unsigned short kSearchAverage = 4096;
const unsigned short kFinalAverage = 32768;
const int kReadBackWords = kHeadWords;  // the read-back frame: the packet's head

// One data frame at the current power; false when the reply was refused
// (the time-out report has then been shown).
bool MeasureFrame(void) {
    order = kOrderData;
    return GetDataFrame() == LINK_ACCEPTED;
}

// The result line: what was found, or why the search failed.
void ShowSearchResult(bool passed, bool framesLost) {
    char why[96];
    if (passed)
        std::snprintf(why, sizeof why, "Search passed: power %u, CH_DIR %u, CH_REF %u", power, dataChDir,
                      dataChRef);
    else if (framesLost)
        std::snprintf(why, sizeof why, "Search failed: frames lost (TIMEOUT)");
    else
        std::snprintf(why, sizeof why, "Search failed: CH_DIR %u at power %u, %u to %u needed", dataChDir,
                      power, kCalibAcceptLow, kCalibAcceptHigh);
    ShowCalibResult(passed, why);
}

// Writes the request for `code`; true when the port took all of it.
bool SendRequest(unsigned short code) {
    order = code;
    return LinkCommand(code) == LINK_ACCEPTED;
}

}  // namespace

void ChangePanelCalib(void) {
    HidePanel(calibpanel);
    DisplayPanel(panel);
}

void SendCalibPara(void) {
    WaitTransDelay();
    CopyCalibVarsToPP();
    waitdel = 0.3;
    transbeg = Timer();
    if (!SendRequest(kOrderParaHead))
        TimeoutReport();
    else
        UnsentHeadSent();  // the sensor now runs with what the panel shows
}

void StartCalibrationRef1(void) {
    if (ConfirmPopup(
            "START CALIBRATION!",
            " Make sure that the sensor shines \n on the reference target with glossy factor 100 units! ") !=
        1)
        return;
    MessagePopup("ATTENTION!", " Starts calibration with Reference 100 units. ");

    const unsigned short savedPmod = pmod, savedAverage = average, savedEvalmode = evalmode,
                         savedTrigger = trigger;
    pmod = 0;
    average = kSearchAverage;
    evalmode = 0;
    trigger = 0;
    SetPanelValues();

    power = kFirstPower;
    unsigned short step = kFirstPower;
    // A lost frame leaves the previous values in the data variables; the
    // search goes on with them, but a lost tenth frame would judge the
    // window on stale values, so the search must not pass then.
    bool tenthLost = false;
    for (int i = 0; i < kIterations; ++i) {
        const unsigned short tried = power;
        ShowCalibStep(i + 1, kIterations, tried, -1);
        SendCalibPara();
        WaitTransDelay();
        tenthLost = !MeasureFrame();
        if (tenthLost)
            ShowCalibLost(i + 1, kIterations, tried);
        else
            ShowCalibStep(i + 1, kIterations, tried, dataChDir);
        if (dataChDir > kTargetDir)
            power = static_cast<unsigned short>(power - step / 2);
        else
            power = static_cast<unsigned short>(power + step / 2);
        if (power > kPowerCeiling) power = kPowerCeiling;
        step = static_cast<unsigned short>(step / 2);
        SetCtrlVal(calibpanel, CALIBP_SLIDEREFPOWER, power);
        SetCtrlVal(panel, P_SLIDEPOWER, power);
    }

    bool framesLost = tenthLost;
    bool passed = !tenthLost && CalibAccepts(dataChDir);
    if (passed) {
        average = kFinalAverage;
        SetPanelValues();
        SendCalibPara();
        transbeg = Timer();
        waitdel = 2.0;
        WaitTransDelay();
        ShowCalibFinal(power, -1);
        // Stale raw values must never reach the EEPROM.
        passed = MeasureFrame();
        if (passed) {
            ShowCalibFinal(power, dataChDir);
        } else {
            framesLost = true;
            // Leave what any failed search leaves: the search settings,
            // on the panel and in the sensor.
            average = kSearchAverage;
            SetPanelValues();
            SendCalibPara();
        }
    }
    ShowSearchResult(passed, framesLost);
    if (!passed) {
        MessagePopup("ATTENTION!", kSearchFailed);
        calibok = 0;
        return;
    }
    MessagePopup("ATTENTION!", " Calibration can be done. \n Push CONFIRM CALIBRATION to finish! ");
    calibok = 1;
    pmod = savedPmod;
    average = savedAverage;
    evalmode = savedEvalmode;
    trigger = savedTrigger;
    SetPanelValues();
    SendCalibPara();
}

int CalibParaComp(void) {
    return (pp[0] == power && pp[1] == dataChDir && pp[2] == dataChRef) ? 0 : 1;
}

void ConfirmCalibration(void) {
    if (ConfirmPopup("CONFIRM CALIBRATION!",
                     " Are you sure, that you have selected \n the right CALIBRATION POWER? ") != 1)
        return;
    if (calibok != 1) {
        MessagePopup("ATTENTION!", kSearchFailed);
        return;
    }
    WaitTransDelay();
    pp[0] = power;
    pp[1] = dataChDir;
    pp[2] = dataChRef;

    waitdel = 1.0;
    transbeg = Timer();
    if (!SendRequest(kOrderCalibStore)) {
        TimeoutReport();
        MessagePopup("ATTENTION!", kCommFailure);
        return;
    }
    WaitTransDelay();

    transbeg = Timer();
    waitdel = 0.1;
    SendRequest(kOrderCalibRead);  // the reply says whether it arrived
    if (AwaitReply(2 * anzdata, nullptr) == LINK_ACCEPTED) {
        // The read-back frame holds 16 words: words 0 to 15 of pp come from
        // it (13 to 15 are the sensor's pass-through words); the teach
        // table after them did not come with this reply and stays.
        unsigned short kept[sizeof pp / sizeof pp[0]];
        std::memcpy(kept, pp, sizeof pp);
        GetRxBufPara();
        const int differs = CalibParaComp();
        std::memcpy(pp + kReadBackWords, kept + kReadBackWords, sizeof pp - kReadBackWords * sizeof pp[0]);
        if (differs == 0)
            MessagePopup(
                "ATTENTION!",
                " Calibration successful! \n Calibration factors were sent to the EEPROM of the sensor. \n "
                "Press CLOSE CALIBRATION to leave calibration scope. ");
        else
            MessagePopup("ATTENTION!", kCommFailure);
    } else {
        TimeoutReport();
        MessagePopup("ATTENTION!", kCommFailure);
    }
}

int CBF_ButtonCalibrate(int p, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        WaitTransDelay();
        poll = 0;
        calibok = 0;
        SetCtrlVal(calibpanel, CALIBP_DISPCALIBSTEP, "");
        ShowCalibWindow(-1);
        HidePanel(p);
        DisplayPanel(calibpanel);
    }
    return HelpOnly(p, control, event);
}

int CBF_CALIBP(int, int event, void*, int, int) {
    if (event == EVENT_CLOSE) ChangePanelCalib();
    return 0;
}

int CBF_ButtonCloseCalib(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) ChangePanelCalib();
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonStartCalib(int p, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        SetCtrlAttribute(p, control, ATTR_BUTTON_COLOR, kButtonRunning);
        // The search writes the panel from the variables: edits not sent
        // before are noted and can be brought back.
        UnsentBeforeReplace();
        if (EnsurePort()) StartCalibrationRef1();
        UnsentAfterCalibration();
        SetCtrlAttribute(p, control, ATTR_BUTTON_COLOR, kButtonIdle);
    }
    return HelpOnly(p, control, event);
}

int CBF_ButtonConfirmCalib(int p, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        SetCtrlAttribute(p, control, ATTR_BUTTON_COLOR, kButtonRunning);
        if (EnsurePort()) ConfirmCalibration();
        SetCtrlAttribute(p, control, ATTR_BUTTON_COLOR, kButtonIdle);
    }
    return HelpOnly(p, control, event);
}

int CBF_SlideRefPower(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
