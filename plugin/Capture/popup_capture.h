/*
 * A popup's capture: its display, the source its face shows, and the choice
 * between the display's sources (at enable, when the user's aircraft is
 * loaded, and when a source starts or stops giving pictures).
 */
#ifndef VXR_POPUP_CAPTURE_H
#define VXR_POPUP_CAPTURE_H

#include "capture_source.h"

struct popup;

struct popup_capture {
    // Shows the panel's picture until the first choice.
    explicit popup_capture(capture_display display);

    capture_display display;
    capture_source *shown;   // the source whose regions the face is made of
    screen_light light;      // the shown source's, as last looked at
    bool powered_said = true;   // the shown source's power as the log last said it
    bool open = false;          // the window was open at the last look
    // Open and lit at the last watch: the frame since owed a picture.
    bool picture_due = false;

    capture_region *regions() const { return shown->regions(); }
    // On the regions of every source of the display: none holds a copy (at
    // the popup's bring-up), all give their textures back (at take-down), a
    // refused copy is tried again (at each opening).
    void forget_copies();
    void release();
    void clear_failed();
};

// Brings up the sources (X-Plane's offers looked up), chooses every popup's
// source, and starts the watch on the windows and devices.
void capture_sources_init();
// Takes the sources' callbacks and the watch down; the popups go back to the
// panel's picture.
void capture_sources_fini();
// A window opened or closed: the sources register the drawing callbacks the
// open windows need, and unregister the others, now.
void capture_follow_windows();

// Which choices say what the display shows: each (a window opening), or only
// those that change it. Only open windows say anything: a closed one says
// its source when it opens.
enum class source_telling { always, changes };

// Chooses every popup's source again, logging one line per popup told; a
// popup whose source changes gives the old one's textures back and keeps its
// window.
void popups_choose_sources(source_telling telling);
void popup_choose_source(popup *pup, source_telling telling);

#endif
