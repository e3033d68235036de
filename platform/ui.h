// User-interface services: panels, controls, events, popups, charts.
// Panels and controls are addressed by integer handles; no toolkit type
// leaks through this header.
#pragma once

// ---- events delivered to callbacks ----
enum {
    EVENT_COMMIT = 1,
    EVENT_VAL_CHANGED = 2,
    EVENT_LEFT_CLICK = 3,
    EVENT_LEFT_DOUBLE_CLICK = 4,
    EVENT_RIGHT_CLICK = 5,
    EVENT_CLOSE = 11,
    // The mouse moved over the plot area of an XY graph: eventData1 and
    // eventData2 are its X and Y in data units, rounded to integers.
    EVENT_GRAPH_CURSOR = 12,
    // Shift+drag marked frames eventData1 to eventData2 on an XY graph
    // (rounded inwards); both -1 when a double click cleared the mark.
    EVENT_GRAPH_RANGE = 13,
    // The operator zoomed or panned an XY graph, or returned to its whole data.
    EVENT_GRAPH_VIEW = 14,
};

// Control callback: panel, control, event, callback data, two event words.
typedef int (*CtrlCallbackPtr)(int panel, int control, int event, void* callbackData, int eventData1,
                               int eventData2);
// Panel callback: panel, event, callback data, two event words.
typedef int (*PanelCallbackPtr)(int panel, int event, void* callbackData, int eventData1, int eventData2);

// The program's callbacks, looked up by the names that the panel definitions give.
struct CallbackEntry {
    const char* name;
    CtrlCallbackPtr ctrl;    // set for control callbacks
    PanelCallbackPtr panel;  // set for panel callbacks
};
// Must be called before LoadPanel; the table must live for the whole run.
void RegisterCallbackTable(const CallbackEntry* table, int count);

// The help text of each control, by panel and control name, as its callback
// shows it on a right click; assistive technology reads it as the control's
// description. Must be called before LoadPanel; the table must live for the
// whole run.
struct ControlHelp {
    const char* panel;    // e.g. "P"
    const char* control;  // e.g. "ButtonGo"
    const char* text;
};
void RegisterHelpTable(const ControlHelp* table, int count);

// ---- error codes of the UI operations ----
enum {
    UIE_OK = 0,
    UIE_NO_SUCH_PANEL = -1,
    UIE_NO_SUCH_CONTROL = -2,
    UIE_TYPE_MISMATCH = -3,
    UIE_BAD_ATTRIBUTE = -4,
    UIE_BAD_ARGUMENT = -5,
    UIE_FILE = -6,
    UIE_NOT_INITIALISED = -7,
};

// ---- run-time engine ----
// Returns 0 on failure. argv may be null.
int InitCVIRTE(int hInstance, char* argv[], int reserved);
// Ends the engine before the program returns: deletes every panel and any
// window left (a dialog), then the application object InitCVIRTE made. Safe
// when nothing is initialised; InitCVIRTE works again afterwards. Panel
// handles are invalid after it. Refused (UIE_BAD_ARGUMENT) while
// RunUserInterface runs.
int CloseCVIRTE(void);
// Loads panel `resourceId` of the panel file (a path; a relative name is
// looked up beside the executable). Negative on failure, and nothing is
// shown. Every call gives a new handle; the panel starts hidden. `parent`
// is not used: every panel is a window of its own.
int LoadPanel(int parent, const char* fileName, int resourceId);
int DisplayPanel(int panel);
int HidePanel(int panel);
int DiscardPanel(int panel);
// Runs the event loop until QuitUserInterface; returns the code given there.
int RunUserInterface(void);
// Ends the innermost RunUserInterface; does nothing when none runs.
int QuitUserInterface(int returnCode);
int ProcessSystemEvents(void);
// Drawing off an exchange's critical path. HoldPaint takes the shown
// panels' pending repaints out of the event queue, so that the event
// processing after it runs the callbacks without painting; PaintHeld paints
// them at once and runs no other event (the live loop calls it while its
// next request is on the line). Held repaints are painted anyway before the
// program waits for events, and when a callback processes events itself.
int HoldPaint(void);
int PaintHeld(void);

// ---- values ----
// Values are typed as the control: a Get with the wrong type fails with
// UIE_TYPE_MISMATCH and writes nothing. Sets convert between numeric types.
// Setting a value from the program never runs a callback, and writing the
// value a control already shows costs nothing. A ring takes only values of
// its items (UIE_BAD_ARGUMENT otherwise); numbers outside a control's range
// are brought to its nearest end. SetCtrlVal on a text box appends the text
// at its end (ResetTextBox replaces it).
int SetCtrlVal(int panel, int control, unsigned short value);
int SetCtrlVal(int panel, int control, short value);
int SetCtrlVal(int panel, int control, int value);
int SetCtrlVal(int panel, int control, double value);
int SetCtrlVal(int panel, int control, const char* value);
int GetCtrlVal(int panel, int control, unsigned short* value);
int GetCtrlVal(int panel, int control, short* value);
int GetCtrlVal(int panel, int control, int* value);
int GetCtrlVal(int panel, int control, double* value);
// Text controls: copies at most `size` bytes including the terminator;
// `size` is always the buffer's own (sizeof buf), never assumed.
int GetCtrlVal(int panel, int control, char* value, int size);

// ---- attributes ----
enum {
    ATTR_VISIBLE = 1,        // int 0/1
    ATTR_DIMMED,             // int 0/1: shown but accepts no input
    ATTR_BUTTON_COLOR,       // int 0xRRGGBB: face colour of a command button
    ATTR_TEXT_COLOR,         // int 0xRRGGBB
    ATTR_TEXT_BGCOLOR,       // int 0xRRGGBB, or VAL_TRANSPARENT
    ATTR_FRAME_COLOR,        // int 0xRRGGBB: colour of a decoration
    ATTR_LEFT,               // int pixels
    ATTR_TOP,                // int pixels
    ATTR_WIDTH,              // int pixels
    ATTR_HEIGHT,             // int pixels
    ATTR_TEXT_FONT,          // text: font name; "NIApp" is the application font
    ATTR_TEXT_POINT_SIZE,    // int
    ATTR_POINTS_PER_SCREEN,  // int: points per trace a strip chart shows
    ATTR_DATA_TYPE,          // int, read only: DT_* of the control's value
    ATTR_LABEL_TEXT,         // text: a control's caption
    ATTR_CTRL_KIND,          // int, read only: CTRL_KIND_*
    // int 0/1: the control holds a value that differs from what was last
    // sent or read. Shown as a bold amber frame and a "•" before its
    // caption, so that it reads without colour and in any palette.
    ATTR_MARKED,
    ATTR_TOOLTIP_TEXT,  // text shown when the mouse rests on the control ("" none)
};
// VAL_AUTO_COLOR for ATTR_TEXT_COLOR and ATTR_TEXT_BGCOLOR: back to the
// colour the desktop's palette gives, so that light and dark desktops both
// read well.
enum { VAL_TRANSPARENT = 0x1000000, VAL_AUTO_COLOR = 0x2000000 };

int SetCtrlAttribute(int panel, int control, int attribute, int value);
int SetCtrlAttribute(int panel, int control, int attribute, const char* value);
int GetCtrlAttribute(int panel, int control, int attribute, int* value);
int GetCtrlAttribute(int panel, int control, int attribute, char* value, int size);

// Control kinds as the panel definitions declare them.
enum {
    CTRL_KIND_COMMAND = 1,  // command button
    CTRL_KIND_NUMERIC,      // numeric input
    CTRL_KIND_INDICATOR,    // numeric display
    CTRL_KIND_TEXT,         // text display or run-time text message
    CTRL_KIND_TEXTBOX,      // multi-line text box
    CTRL_KIND_RING,         // list of items with values
    CTRL_KIND_TOGGLE,       // on/off button
    CTRL_KIND_SWITCH,       // two-state switch
    CTRL_KIND_SLIDER,
    CTRL_KIND_BAR,  // bar indicator
    CTRL_KIND_TABLE,
    CTRL_KIND_STRIPCHART,
    CTRL_KIND_GRAPH,  // XY graph
    CTRL_KIND_PICTURE,
    CTRL_KIND_DECORATION,
};

// Value data types (also used by the file services).
enum {
    DT_CHAR = 1,  // 8-bit characters
    DT_U16,       // unsigned 16-bit
    DT_S16,       // signed 16-bit
    DT_INT,       // signed 32-bit
    DT_DOUBLE,
    DT_STRING,
    DT_NONE,  // control has no value
};

// ---- tables (cells are (column, row), both from 1) ----
int GetTableCellVal(int panel, int control, int column, int row, unsigned short* value);
int SetTableCellVal(int panel, int control, int column, int row, unsigned short value);
int SetActiveTableCell(int panel, int control, int column, int row);
int GetActiveTableCell(int panel, int control, int* column, int* row);
// ATTR_ROW_MARKED (int 0/1): a "•" before the row's label and a bold amber
// frame round its cells, as ATTR_MARKED does for a control.
// ATTR_ROW_TOOLTIP_TEXT (text): shown when the mouse rests on the row's label.
// ATTR_ROW_LABEL_SIGN (text): a sign after the row's label ("" none), so
// that what the label's colour says also reads without colour.
// A cell the operator edits sends EVENT_VAL_CHANGED to the table's callback
// with eventData1 the row and eventData2 the column (writes from the program
// send nothing).
enum {
    ATTR_ROW_LABEL_COLOR = 100,
    ATTR_COLUMN_LABEL_TEXT = 101,
    ATTR_ROW_MARKED = 102,
    ATTR_ROW_TOOLTIP_TEXT = 103,
    ATTR_ROW_LABEL_SIGN = 104
};
int SetTableRowAttribute(int panel, int control, int row, int attribute, int value);
int SetTableRowAttribute(int panel, int control, int row, int attribute, const char* value);
int GetTableRowAttribute(int panel, int control, int row, int attribute, int* value);
int SetTableColumnAttribute(int panel, int control, int column, int attribute, const char* value);
int GetTableColumnAttribute(int panel, int control, int column, int attribute, char* value, int size);

// ---- strip charts ----
// Appends `count` interleaved points (trace 0, 1, 2, 0, ...) starting at
// points[start], taking every (skip+1)-th element. `dataType` is DT_DOUBLE.
int PlotStripChart(int panel, int control, const void* points, int count, int start, int skip, int dataType);
// Copies the points a trace currently shows, oldest first; returns the count.
int GetStripChartTrace(int panel, int control, int trace, double* out, int max);

// ---- XY graphs ----
enum { VAL_LEFT = 0, VAL_RIGHT = 1 };                  // Y axis
enum { VAL_XAXIS = 2 };                                // X axis of an XY graph
enum { VAL_MANUAL = 0, VAL_AUTOSCALE = 1 };            // axis scaling
enum { VAL_CONNECTED_POINTS = 1, VAL_THIN_LINE = 2 };  // plot style
enum { VAL_NO_POINT = 0 };                             // point marker
enum { VAL_SOLID = 0 };                                // line style
enum { VAL_IMMEDIATE_DRAW = 1, VAL_DELAYED_DRAW = 0 };
// Y axis of a strip chart or graph: fixed range with VAL_MANUAL.
// VAL_XAXIS of an XY graph: VAL_AUTOSCALE shows exactly the X range of the
// data, VAL_MANUAL the fixed range min..max.
int SetAxisScalingMode(int panel, int control, int axis, int mode, double min, double max);
// VAL_LEFT: the Y range set; VAL_XAXIS: the X range shown now, zoom included.
int GetAxisRange(int panel, int control, int axis, double* min, double* max);
// Returns an XY graph to the whole of its data after the operator zoomed or panned.
int ResetGraphView(int panel, int control);
// Fits an XY graph's Y axis to its points inside the X range shown now
// (ResetGraphView undoes it). 1 when fitted, 0 when no point lies there.
int FitGraphY(int panel, int control);
// Adds one plot of `count` points; returns a plot handle (>0) or a negative error.
int PlotXY(int panel, int control, const void* x, const void* y, int count, int xType, int yType,
           int plotStyle, int pointStyle, int lineStyle, int pointFrequency, int color);
// plotHandle -1 removes all plots.
int DeleteGraphPlot(int panel, int control, int plotHandle, int refresh);
// Exchanges the graph's plots with the set kept aside (empty at first): a
// graph can show other plots for a while and then get its own back whole.
int SwapGraphPlots(int panel, int control);
int GetGraphPlotCount(int panel, int control);
// Copies the points of plot `index` (0 = oldest) into x and y; returns the count.
int GetGraphPlotPoints(int panel, int control, int index, double* x, double* y, int max, int* color);

// Drawn over an XY graph's plots, not plots (the plot count is unchanged):
// a tolerance band lo..hi (dashed lines over a light fill), the X span
// x0..x1 marked, vertical marks at xs (colour 0xRRGGBB, dashed or solid).
// on = 0 or count = 0 removes them.
int SetGraphBand(int panel, int control, int on, double lo, double hi);
int SetGraphMarkedRange(int panel, int control, int on, double x0, double x1);
int SetGraphXMarks(int panel, int control, const double* xs, const int* colors, const int* dashed, int count);

// ---- text boxes ----
int GetTextBoxLine(int panel, int control, int line, char* out, int size);
int ResetTextBox(int panel, int control, const char* text);

// ---- pictures ----
// A missing or unreadable file leaves the picture empty and returns UIE_FILE.
int DisplayImageFile(int panel, int control, const char* fileName);
// 1 when the picture holds an image.
int PictureHasImage(int panel, int control);

// ---- controls made at run time ----
enum { CTRL_TEXT_MSG = 1 };
int NewCtrl(int panel, int kind, const char* label, int top, int left);
// Gives a control a callback at run time, in place of the one its panel
// definition names (callbackData is not kept: callbacks get null).
int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr callback, void* callbackData);

// ---- popups (modal) ----
int MessagePopup(const char* title, const char* message);
// 1 yes, 0 no.
int ConfirmPopup(const char* title, const char* message);
enum { VAL_OK_BUTTON = 0, VAL_SAVE_BUTTON = 1, VAL_SELECT_BUTTON = 2, VAL_LOAD_BUTTON = 3 };
// 0 none chosen, 1 an existing file, 2 a new file name; path gets the full path (up to kPathSize bytes,
// platform/files.h). A path longer than kPathSize - 1 characters is refused (negative result, empty path)
// rather than cut to the name of some other file.
// `fileTypeList` is patterns ("*.dat") or a named list ("Record files (*.dat)"),
// shown first; unless the extension is restricted "All files (*)" follows.
// The popup opens large enough for whole names, sizes and dates.
int FileSelectPopup(const char* defaultDirectory, const char* defaultFileName, const char* fileTypeList,
                    const char* title, int buttonLabel, int restrictDirectory, int restrictExtension,
                    int allowCancel, int allowMakeDirectory, char* pathName);

// Full paths the next FileSelectPopup (that one only) lists as recent files,
// newest first: a click chooses one, a double click opens it at once.
int SetFileSelectRecent(const char* const* paths, int count);

// ---- inspection, used by tests and tools ----
// Control identity of a named control on a panel, or negative.
int GetCtrlByName(int panel, const char* name);
// The callback name the panel definition gives for a control ("" when none).
int GetCtrlCallbackName(int panel, int control, char* out, int size);
// Number of controls of a panel; identities run from 1 to this count.
int GetPanelCtrlCount(int panel);
int GetCtrlName(int panel, int control, char* out, int size);
int IsPanelVisible(int panel);
// Renders a panel (shown or not) into a PNG file.
int SavePanelImage(int panel, const char* pngFile);
