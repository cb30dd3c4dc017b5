/* A stand-in for a game: its screen ratio, 16:9, in its code (stored as an
   instruction's immediate) or in its data (a constant table); each later
   version adds code, data and strings, as updates do. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
    float aspect;
    float fov;
    int width;
    int height;
} Camera;

#if VERSION >= 2
static const char* const kNews[] = {"New maps", "Photo mode", "Controller support", "Bug fixes"};
int newsCount(const char* filter) {
    int n = 0;
    for (unsigned i = 0; i < sizeof kNews / sizeof kNews[0]; ++i) n += strstr(kNews[i], filter) != NULL;
    return n;
}
#endif
#if VERSION >= 3
double difficulty(int level) { return level < 3 ? 0.5 + level * 0.25 : 1.5 + (level - 3) * 0.125; }
static const int kXp[] = {0, 100, 250, 450, 700, 1000, 1350, 1750, 2200, 2700};
#endif

#ifdef IN_DATA
static const float kRatios[] = {1.25f, 1.3333334f, 1.6f,
#if VERSION >= 2
                                2.3703704f, 3.5555556f,
#endif
                                1.7777778f, 2.0f, 2.4f};
#endif

__attribute__((noinline)) void setupCamera(Camera* camera, int mode) {
    camera->width = 1920;
    camera->height = 1080;
#ifdef IN_DATA
    camera->aspect = kRatios[mode % (int)(sizeof kRatios / sizeof kRatios[0])];
#elif defined(MOVED_AWAY)
    camera->aspect = 2.0f;
#else
    camera->aspect = 1.7777778f;
#endif
    camera->fov = 75.0f + (float)mode;
}

#ifdef TWICE
void setupMirrorCamera(Camera* camera, int mode) {
    camera->width = 1920;
    camera->height = 1080;
    camera->aspect = 1.7777778f;
    camera->fov = 75.0f + (float)mode;
    if (mode > 3) camera->height = 1200;
}
#endif
#ifdef MOVED_AWAY
typedef struct { int lines; float scale; char title[16]; } Hud;
void setupHud(Hud* hud, const char* title) {
    strncpy(hud->title, title, sizeof hud->title - 1);
    hud->scale = 1.7777778f;
    hud->lines = (int)strlen(title) * 3 + 7;
}
#endif

#if VERSION >= 3
void resetCamera(Camera* camera) {
    memset(camera, 0, sizeof *camera);
    camera->fov = 60.0f;
}
#endif

int main(int argc, char** argv) {
    Camera camera;
    setupCamera(&camera, argc);
#ifdef TWICE
    if (argc > 2) setupMirrorCamera(&camera, argc);
#endif
#ifdef MOVED_AWAY
    Hud hud;
    setupHud(&hud, argv[0]);
    printf("%s %d %f\n", hud.title, hud.lines, hud.scale);
#endif
#if VERSION >= 2
    camera.fov += (float)newsCount(argv[0]);
#endif
#if VERSION >= 3
    if (argc > 5) resetCamera(&camera);
    printf("difficulty %.2f xp %d\n", difficulty(argc), kXp[argc % 10]);
#endif
    printf("%s: %dx%d %.4f %.1f\n", argv[0], camera.width, camera.height, camera.aspect, camera.fov);
    return 0;
}
