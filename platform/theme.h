// Look of the panels: the colour scheme they are shown in (theme.cpp) and
// their sizes (panelsize.cpp). The panels follow the desktop's palette on
// their own; tools and tests use these to show them in a chosen scheme and
// at chosen sizes.
#pragma once

enum {
    SCHEME_DESKTOP = 0,  // the palette the desktop gave at start
    SCHEME_LIGHT = 1,
    SCHEME_DARK = 2,
};
// Switches the whole program to a colour scheme; every panel restyles itself.
int UseColourScheme(int scheme);

// The smallest size the panel's layout allows in its present view (the
// controls shown now), in logical pixels.
int GetPanelMinimumSize(int panel, int* width, int* height);
// Resizes the panel's window; a size below its minimum gives the minimum.
int SetPanelSize(int panel, int width, int height);
int GetPanelSize(int panel, int* width, int* height);
