/* A small game whose screen ratio is a constant of its own in read-only
   data, which its renderer loads (RIP-relative) wherever it needs it. Its
   updates: 2 puts many KiB of code before the renderer (a level script's
   interpreter), 3 adds a field to the viewport and a second function that
   loads the ratio, 4 adds a photo mode with a constant of its own that
   holds the same ratio. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifndef VALUE
#define VALUE 1.7777778f
#endif

static const volatile float kAspect = VALUE;
#if VERSION >= 4
static const volatile float kPhotoAspect = 1.7777778f;
#endif

typedef struct {
    int width;
    int height;
#if VERSION >= 3
    int border;
#endif
    float aspect;
} Viewport;

#if VERSION >= 2
#define OP(n)                                                                                                         \
    case n:                                                                                                           \
        acc = (acc * (n + 3U)) ^ (acc >> ((n) % 7 + 1)) ^ (n);                                                        \
        break;
#define OPS4(b) OP(b) OP(b + 1) OP(b + 2) OP(b + 3)
#define OPS16(b) OPS4(b) OPS4(b + 4) OPS4(b + 8) OPS4(b + 12)
#define OPS64(b) OPS16(b) OPS16(b + 16) OPS16(b + 32) OPS16(b + 48)
__attribute__((noinline)) unsigned runScript(const unsigned char* code, int length) {
    unsigned acc = 1;
    for (int i = 0; i < length; ++i) {
        switch (code[i]) { OPS64(0) OPS64(64) OPS64(128) OPS64(192) }
    }
    return acc;
}
#endif

__attribute__((noinline)) void setViewport(Viewport* view, int width) {
    view->width = width;
    view->height = (int)((float)width / kAspect);
    view->aspect = kAspect;
#if VERSION >= 3
    view->border = width / 100;
#endif
}

#if VERSION >= 3
__attribute__((noinline)) float letterbox(int width, int height) {
    float wanted = (float)height * kAspect;
    return wanted < (float)width ? ((float)width - wanted) / 2.0f : 0.0f;
}
#endif

#if VERSION >= 4
__attribute__((noinline)) float photoHeight(int width) {
    return (float)width / kPhotoAspect;
}
#endif

int main(int argc, char** argv) {
    Viewport view;
    setViewport(&view, argc > 1 ? atoi(argv[1]) : 1920);
    printf("%s: %dx%d %.4f\n", argv[0], view.width, view.height, view.aspect);
#if VERSION >= 2
    printf("script %u\n", runScript((const unsigned char*)argv[0], (int)strlen(argv[0])));
#endif
#if VERSION >= 3
    printf("letterbox %.1f\n", letterbox(view.width, view.height + 100));
#endif
#if VERSION >= 4
    printf("photo %.1f\n", photoHeight(view.width));
#endif
    return 0;
}
