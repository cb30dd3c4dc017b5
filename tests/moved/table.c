/* A small game whose screen ratio is the default entry of a table of
   ratios in its data. Its updates: 2 grows the table, 3 reorders it and
   adds a wind-speed table, 4 computes the ratio from the screen size, so
   the value vanishes from the table. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifndef VALUE
#define VALUE 1.7777778f
#endif

#if VERSION >= 3
static const float kWind[] = {0.5f, 1.25f, 2.0f, 3.5f, 5.0f};
#endif

#if VERSION == 1
static const float kRatios[] = {1.25f, 1.3333334f, 1.6f, VALUE, 2.3703704f};
static const int kDefault = 3;
#elif VERSION == 2
static const float kRatios[] = {1.0f, 1.25f, 1.3333334f, 1.5f, 1.6f, VALUE, 2.3703704f, 3.5555556f};
static const int kDefault = 5;
#elif VERSION == 3
static const float kRatios[] = {VALUE, 1.6f, 2.3703704f, 3.5555556f, 1.0f, 1.25f, 1.3333334f, 1.5f};
static const int kDefault = 0;
#else
static const float kRatios[] = {1.6f, 2.3703704f, 3.5555556f, 1.0f, 1.25f, 1.3333334f, 1.5f};
#endif

static const char* const kNames[] = {"Classic", "Wide", "Ultra", "Super"};

__attribute__((noinline)) float defaultRatio(int width, int height) {
#if VERSION >= 4
    return (float)width / (float)height;
#else
    (void)width;
    (void)height;
    return kRatios[kDefault];
#endif
}

__attribute__((noinline)) int nearestRatio(float ratio) {
    int best = 0;
    for (int i = 1; i < (int)(sizeof kRatios / sizeof kRatios[0]); ++i) {
        float d = kRatios[i] - ratio, e = kRatios[best] - ratio;
        if (d * d < e * e) best = i;
    }
    return best;
}

#if VERSION >= 3
__attribute__((noinline)) float gust(int tick) {
    return kWind[tick % 5] * (tick % 3 ? 1.0f : 1.5f);
}
#endif

int main(int argc, char** argv) {
    int width = argc > 2 ? atoi(argv[1]) : 1920, height = argc > 2 ? atoi(argv[2]) : 1080;
    float ratio = defaultRatio(width, height);
    int index = nearestRatio(ratio);
    printf("%s %.4f (%d) %s\n", argv[0], ratio, index, kNames[index % 4]);
#if VERSION >= 3
    printf("wind %.2f\n", gust(argc));
#endif
    return (int)strlen(kNames[0]) - 7;
}
