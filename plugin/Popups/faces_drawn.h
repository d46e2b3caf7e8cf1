/*
 * Face culling off for the length of one drawing callback, and given back
 * as it was: an earlier drawer may leave culling on, of either face, and the
 * windows' fills are flat rectangles that must be drawn whichever way round.
 */
#ifndef VXR_FACES_DRAWN_H
#define VXR_FACES_DRAWN_H

#include <acfutils/glew.h>

// The attribute stack keeps the culling state, so nothing is read back.
class faces_drawn {
public:
    faces_drawn()
    {
        glPushAttrib(GL_POLYGON_BIT);
        glDisable(GL_CULL_FACE);
    }
    ~faces_drawn() { glPopAttrib(); }
    faces_drawn(const faces_drawn &) = delete;
    faces_drawn &operator=(const faces_drawn &) = delete;
};

#endif
