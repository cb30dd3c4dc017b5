/* A small game whose screen ratio is stored by its camera set-up, as an
   instruction's immediate or a constant the set-up loads. Its updates:
   2 adds code before the set-up and a field to the camera, 3 inlines the
   set-up into its one caller, 4 adds a minimap camera with the same ratio. */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifndef VALUE
#define VALUE 1.7777778f
#endif

typedef struct {
    float aspect;
#if VERSION >= 2
    float nearPlane;
#endif
    float fov;
    int width;
    int height;
} Camera;

typedef struct {
    float x, y, z;
} Vec3;

static Vec3 add(Vec3 a, Vec3 b) { return (Vec3){a.x + b.x, a.y + b.y, a.z + b.z}; }
static Vec3 scale(Vec3 a, float s) { return (Vec3){a.x * s, a.y * s, a.z * s}; }
static float length(Vec3 a) { return sqrtf(a.x * a.x + a.y * a.y + a.z * a.z); }

#if VERSION >= 2
__attribute__((noinline)) int hudLayout(int width, int height, int* columns) {
    int margin = width / 40 + height / 60;
    *columns = width > 1600 ? 4 : width > 1000 ? 3 : 2;
    for (int i = 0; i < *columns; ++i) margin += (i * 7) % 5;
    printf("hud: %d columns, margin %d\n", *columns, margin);
    return margin;
}
#endif

#if VERSION >= 3
static inline
#else
__attribute__((noinline))
#endif
void setupCamera(Camera* camera, int mode) {
    camera->width = 1920;
    camera->height = 1080;
    camera->aspect = VALUE;
#if VERSION >= 2
    camera->nearPlane = 0.1f;
#endif
    camera->fov = mode ? 70.0f : 90.0f;
}

#if VERSION >= 4
__attribute__((noinline)) void setupMinimap(Camera* camera, int size) {
    camera->width = size;
    camera->height = size * 9 / 16;
    camera->aspect = 1.7777778f;
#if VERSION >= 2
    camera->nearPlane = 1.0f;
#endif
    camera->fov = 30.0f;
}
#endif

__attribute__((noinline)) float projectedSize(const Camera* camera, Vec3 point) {
    float distance = length(point);
    float half = tanf(camera->fov * 3.14159265f / 360.0f);
    return distance > 0 ? camera->height / (2.0f * half * distance) : 0.0f;
}

int main(int argc, char** argv) {
    Camera camera;
    memset(&camera, 0, sizeof camera);
    setupCamera(&camera, argc > 1);
    Vec3 player = {1.0f, 2.0f, 3.0f};
    Vec3 velocity = {0.5f, 0.0f, -0.25f};
    for (int frame = 0; frame < 10; ++frame) player = add(player, scale(velocity, 1.0f / 60.0f));
#if VERSION >= 2
    int columns = 0;
    hudLayout(camera.width, camera.height, &columns);
#endif
#if VERSION >= 4
    Camera minimap;
    setupMinimap(&minimap, argc > 2 ? atoi(argv[2]) : 256);
    printf("minimap %dx%d %.3f\n", minimap.width, minimap.height, minimap.aspect);
#endif
    printf("%s: %dx%d %.4f %.1f %.3f\n", argv[0], camera.width, camera.height, camera.aspect, camera.fov,
           projectedSize(&camera, player));
    return 0;
}
