/*
 * The popup registry: the two popup records (MFD and PFD), the list of them,
 * the cursors their zones show, and their bring-up and take-down.
 */
#ifndef VXR_POPUP_SYSTEM_H
#define VXR_POPUP_SYSTEM_H

#include <string>
#include <vector>

#include <acfutils/cursor.h>

#include "popup.h"

// The cursors the window's zones show: the strips' (also over a face being
// dragged), the top corners' and the bottom corners'.
enum popup_cursor_id {
    CURSOR_M_CLICK, CURSOR_B_CLOSE, CURSOR_B_POP, CURSOR_B_RESIZE_L, CURSOR_B_RESIZE_R,
    NUM_POPUP_CURSORS
};

extern popup MFD_popup;
extern popup PFD_popup;
extern std::vector<popup *> popup_list;
extern cursor_t *popup_cursors[NUM_POPUP_CURSORS];
extern std::string popups_dir;

// The other display's record: the MFD's for the PFD, and the other way round.
popup *popup_other(const popup *pup);

void popups_init(std::string path);
bool popup_init(popup *pup);
void popups_fini();

#endif
