/* A small game whose camera keeps its screen ratio with its field of view
   and planes, as one constant that its set-up loads at once. Its updates:
   2 computes the ratio from the screen instead, while a new photo mode
   keeps a constant of the same shape and ratio; 3 adds a field to the
   camera; 4 adds a second photo preset. */
#include <stdio.h>
#include <stdlib.h>

#ifndef VALUE
#define VALUE 1.7777778f
#endif

typedef struct {
    float aspect;
    float fov;
    float nearPlane;
    float farPlane;
#if VERSION >= 3
    float exposure;
#endif
} Camera;

__attribute__((noinline)) void setupCamera(Camera* camera, int width, int height) {
#if VERSION >= 2
    camera->aspect = (float)width / (float)height;
#else
    (void)width;
    (void)height;
    camera->aspect = VALUE;
#endif
    camera->fov = 70.0f;
    camera->nearPlane = 0.1f;
    camera->farPlane = 1000.0f;
#if VERSION >= 3
    camera->exposure = 1.0f;
#endif
}

#if VERSION >= 2
__attribute__((noinline)) void setupPhoto(Camera* camera, int preset) {
    camera->aspect = 1.7777778f;
    camera->fov = 70.0f;
    camera->nearPlane = 0.1f;
    camera->farPlane = 1000.0f;
#if VERSION >= 3
    camera->exposure = preset > 1 ? 2.0f : 1.0f;
#endif
#if VERSION >= 4
    if (preset == 4) camera->fov = 35.0f;
#endif
    (void)preset;
}
#endif

int main(int argc, char** argv) {
    Camera camera;
    setupCamera(&camera, argc > 1 ? atoi(argv[1]) : 1920, argc > 2 ? atoi(argv[2]) : 1080);
    printf("%s: %.4f %.1f %.2f %.0f\n", argv[0], camera.aspect, camera.fov, camera.nearPlane, camera.farPlane);
#if VERSION >= 2
    Camera photo;
    setupPhoto(&photo, argc);
    printf("photo %.4f\n", photo.aspect);
#endif
    return 0;
}
