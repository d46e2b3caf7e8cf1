/*
 * The popup registry: a popup record per screen of the screen table, the
 * list of them, the cursors their zones show, and their bring-up and
 * take-down.
 */
#ifndef VXR_POPUP_SYSTEM_H
#define VXR_POPUP_SYSTEM_H

#include <array>
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

// One record per row of the screen table, in its order.
extern std::array<popup, screen_count> screen_popups;
extern popup &MFD_popup;
extern popup &PFD_popup;
// MFD, PFD, then the other screens in the table's order.
extern std::vector<popup *> popup_list;
extern cursor_t *popup_cursors[NUM_POPUP_CURSORS];
extern std::string popups_dir;

// The first record besides pup's, in popup_list's order, that the test
// holds for; nullptr for none.
template <typename Test>
popup *popup_find_other(const popup *pup, Test test)
{
    for (popup *other : popup_list) {
        if (other != pup && test(other))
            return other;
    }
    return nullptr;
}

void popups_init(std::string path);
bool popup_init(popup *pup);
void popups_fini();

#endif
