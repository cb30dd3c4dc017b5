// A game in C++: cameras behind a virtual interface, a template for
// ranges, and the ratio a static member. Updates: 2 adds a camera kind,
// 3 adds a member to the base, 4 adds a template instance before.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#ifndef VALUE
#define VALUE 1.7777778f
#endif

template <typename T> struct Range {
    T low, high;
    T clamp(T value) const {
        return value < low ? low : value > high ? high : value;
    }
};

struct Camera {
    virtual ~Camera() = default;
    virtual float aspect() const = 0;
    virtual float fov() const {
        return 70.0f;
    }
#if VERSION >= 3
    int layer = 0;
#endif
};

struct MainCamera : Camera {
    static constexpr float kAspect = VALUE;
    float aspect() const override {
        return kAspect;
    }
};

#if VERSION >= 2
struct OrbitCamera : Camera {
    float distance = 10.0f;
    float aspect() const override {
        return 1.25f;
    }
    float fov() const override {
        return 50.0f + distance;
    }
};
#endif

#if VERSION >= 4
template struct Range<double>;
__attribute__((noinline)) double clampWide(double value) {
    return Range<double>{0.5, 4.0}.clamp(value);
}
#endif

__attribute__((noinline)) float frameWidth(const Camera& camera, float height) {
    Range<float> limits{0.25f, 8.0f};
    return height * limits.clamp(camera.aspect());
}

int main(int argc, char** argv) {
    std::vector<std::unique_ptr<Camera>> cameras;
    cameras.push_back(std::make_unique<MainCamera>());
#if VERSION >= 2
    if (argc > 2)
        cameras.push_back(std::make_unique<OrbitCamera>());
#endif
    float height = argc > 1 ? (float)std::atoi(argv[1]) : 1080.0f;
    for (const auto& camera : cameras)
        std::printf("%s: %.1f %.1f\n", argv[0], frameWidth(*camera, height), camera->fov());
#if VERSION >= 4
    std::printf("%.2f\n", clampWide(argc));
#endif
    return 0;
}
