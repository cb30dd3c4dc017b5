/* A larger game: two or three hundred small systems of one shape (they differ in
   their constants alone, as generated code does), a blob of read-only data,
   and its screen ratio a variable in its data that the renderer reads and
   the options may change. Its updates: 2 adds systems before the renderer
   and grows the blob, 3 adds a variable before the ratio and a line to the
   renderer, 4 splits the renderer in two. */
#include <stdio.h>
#include <stdlib.h>

#ifndef VALUE
#define VALUE 1.7777778f
#endif

// clang-format off
#define SYSTEM_(n)                                                         \
    __attribute__((noinline, used)) unsigned system##n(unsigned x) {       \
        x ^= x >> ((n) % 11 + 3);                                          \
        x *= (n) * 2654435761u + 1u;                                       \
        return x + (unsigned)(n) * 40503u;                                 \
    }
#define SYSTEM(n) SYSTEM_(n)
#define S10 SYSTEM(__COUNTER__) SYSTEM(__COUNTER__) SYSTEM(__COUNTER__)     \
    SYSTEM(__COUNTER__) SYSTEM(__COUNTER__) SYSTEM(__COUNTER__)             \
    SYSTEM(__COUNTER__) SYSTEM(__COUNTER__) SYSTEM(__COUNTER__)             \
    SYSTEM(__COUNTER__)
#define S100 S10 S10 S10 S10 S10 S10 S10 S10 S10 S10

#if VERSION >= 2
S100
#endif
S100
// clang-format on

#if VERSION >= 2
#define BLOB_SIZE 98304
#else
#define BLOB_SIZE 65536
#endif
__attribute__((used)) static const unsigned char kBlob[BLOB_SIZE] = {1, 2, 3, 4, 5, 6, 7, 8};

#if VERSION >= 3
float gUiScale = 1.25f;
#endif
float gAspect = VALUE;
int gWidth = 1920;

typedef struct {
    float left, right, top, bottom;
} Frustum;

#if VERSION >= 4
__attribute__((noinline)) float viewHeight(int width) {
    return (float)width / gAspect;
}
#endif

__attribute__((noinline)) void frustumOf(Frustum* frustum, float nearPlane) {
#if VERSION >= 4
    float height = viewHeight(gWidth) / (float)gWidth;
    frustum->top = nearPlane * height;
#else
    frustum->top = nearPlane * 0.5f;
#endif
    frustum->bottom = -frustum->top;
    frustum->right = frustum->top * gAspect;
    frustum->left = -frustum->right;
#if VERSION >= 3
    frustum->right *= gUiScale > 2.0f ? 0.5f : 1.0f;
#endif
}

__attribute__((noinline)) void setAspect(int width, int height) {
    if (width > 0 && height > 0)
        gAspect = (float)width / (float)height;
    gWidth = width;
}

S100

    int
    main(int argc, char** argv) {
    Frustum frustum;
    if (argc > 2)
        setAspect(atoi(argv[1]), atoi(argv[2]));
    frustumOf(&frustum, 0.1f);
    printf("%s: %.4f %.4f %.4f %d\n", argv[0], frustum.left, frustum.right, gAspect, kBlob[argc & 7]);
    return 0;
}
