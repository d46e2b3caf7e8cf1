/*
 * Two-component vectors for positions and sizes in window coordinates.
 */
#ifndef ACFUTILS_GEOM_H
#define ACFUTILS_GEOM_H

typedef struct {
    double x;
    double y;
} vect2_t;

#ifdef __cplusplus
#define VECT2(x, y) (vect2_t{(double)(x), (double)(y)})
#else
#define VECT2(x, y) ((vect2_t){(double)(x), (double)(y)})
#endif

#endif
