// Unsent edits: until SEND the panel is the only place an edit lives, so
// the program keeps what was last sent to, or read from, the sensor or the
// parameter file (the baseline), marks every field and teach row that
// differs from it, counts them, lets the operator bring back the edits a
// read replaced, and asks before a close throws them away.
#pragma once

namespace corvel {

// At start-up, once the panel holds its start values: they become the
// baseline, marked as nothing read from a sensor yet.
void UnsentStart(void);
// After anything that may have changed a panel value: marks and count anew.
// A real change ends the chance to restore.
void UnsentEdited(void);
// After a complete send (RAM or EEPROM with every telegram written, or the
// parameter file written): the panel is the baseline.
void UnsentSent(void);
// After the calibration sent its parameter words: they are the baseline.
void UnsentHeadSent(void);

// Around anything that may replace panel values: a read, the calibration.
void UnsentBeforeReplace(void);
// After a read; `accepted` makes the panel the baseline. `what` names the
// read for the transfer line ("GET from RAM").
void UnsentAfterRead(bool accepted, bool fromSensor, const char* what);
// After the calibration, which writes the panel from the variables.
void UnsentAfterCalibration(void);

// Puts the edits the last read replaced back on the panel; 0 when there
// was nothing to restore.
int RestoreEdits(void);
// For tests: whether a restore would bring edits back, and how many fields
// and teach rows differ from the baseline.
bool RestorePossibleForTest(void);
int UnsentCountForTest(void);
// Whether the program may close: at once without unsent edits, else after
// the operator said so.
bool UnsentMayClose(void);

int CBF_ButtonRestoreEdits(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int CBF_DispUnsent(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_TeachTable(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

}  // namespace corvel
