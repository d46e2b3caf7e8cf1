/*
 * The GLEW context of each thread, kept in the thread slot lacf_glew_ctx_key.
 * GLEW 2 loads its entry points into process-wide pointers, so the context
 * record marks that the calling thread's GL context has had them loaded.
 */
#ifndef ACFUTILS_GLEW_H
#define ACFUTILS_GLEW_H

#include <stdbool.h>
#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#endif
#include <GL/glew.h>
#include "core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct lacf_glew_ctx {
    bool initialized;
} lacf_glew_ctx_t;

#if defined(_WIN32)
extern DWORD lacf_glew_ctx_key;
#define lacf_glew_ctx_get() ((lacf_glew_ctx_t *)TlsGetValue(lacf_glew_ctx_key))
#define lacf_glew_ctx_set(ctx) (TlsSetValue(lacf_glew_ctx_key, (void *)(ctx)) != 0)
#else
API_EXPORT extern pthread_key_t lacf_glew_ctx_key;
#define lacf_glew_ctx_get() ((lacf_glew_ctx_t *)pthread_getspecific(lacf_glew_ctx_key))
#define lacf_glew_ctx_set(ctx) (pthread_setspecific(lacf_glew_ctx_key, (void *)(ctx)) == 0)
#endif

/* Loads the GL entry points for the calling thread's current context.
 * GLEW_OK when the framebuffer-object functions are present. */
API_EXPORT GLenum glewContextInit(lacf_glew_ctx_t *ctx);

#ifdef __cplusplus
}
#endif

#endif
