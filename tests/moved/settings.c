/* A small game whose screen ratio is a member of its settings, set where
   the settings get their defaults; a camera for its photo mode is set up
   by alike code with the same ratio. Its updates: 2 adds a member to the
   settings and code before, 3 moves the defaults into a new function and
   keeps the old one for saved games, 4 computes the ratio instead, while
   the photo mode keeps its own. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifndef VALUE
#define VALUE 1.7777778f
#endif

typedef struct {
    int width;
    int height;
    float aspect;
    float gamma;
#if VERSION >= 2
    float uiScale;
#endif
    int vsync;
} Settings;

static const char* const kProfiles[] = {"low", "medium", "high", "ultra"};

#if VERSION >= 2
__attribute__((noinline)) int pickProfile(const char* name) {
    for (int i = 0; i < 4; ++i)
        if (strcmp(kProfiles[i], name) == 0) return i;
    return 1;
}
#endif

#if VERSION == 3
__attribute__((noinline)) void defaultsFromLauncher(Settings* settings, int profile) {
    settings->width = 1920;
    settings->height = 1080;
    settings->aspect = VALUE;
    settings->gamma = 2.2f;
    settings->uiScale = profile > 2 ? 1.5f : 1.0f;
    settings->vsync = profile < 3;
}
#endif

__attribute__((noinline)) void defaults(Settings* settings, int profile) {
    settings->width = 1920;
    settings->height = 1080;
#if VERSION >= 4
    /* From the screen the game runs on (here a stand-in that the
       compiler cannot fold into a constant). */
    settings->aspect = (float)settings->width / (float)(settings->height - (profile > 9));
#elif VERSION == 3
    settings->aspect = 1.7777778f; /* saved games of version 2 */
#else
    settings->aspect = VALUE;
#endif
    settings->gamma = 2.2f;
#if VERSION >= 2
    settings->uiScale = profile > 2 ? 1.25f : 1.0f;
#endif
    settings->vsync = profile < 2;
}

__attribute__((noinline)) void photoCamera(Settings* settings, int profile) {
    settings->width = 3840;
    settings->height = 2160;
    settings->aspect = 1.7777778f;
    settings->gamma = 2.4f;
#if VERSION >= 2
    settings->uiScale = 2.0f;
#endif
    settings->vsync = profile < 1;
}

int main(int argc, char** argv) {
    Settings settings, photo;
    int profile = argc > 1 ? atoi(argv[1]) : 2;
#if VERSION >= 2
    if (argc > 2) profile = pickProfile(argv[2]);
#endif
#if VERSION == 3
    if (argc > 3) defaultsFromLauncher(&settings, profile); else
#endif
    defaults(&settings, profile);
    photoCamera(&photo, profile);
    printf("%s: %dx%d %.4f %.1f %s / photo %.4f\n", argv[0], settings.width, settings.height, settings.aspect,
           settings.gamma, kProfiles[profile & 3], photo.aspect);
    return 0;
}
