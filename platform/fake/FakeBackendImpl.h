// The fake backend's shared state and small helpers, private to platform/fake: every
// FakeBackend*.cpp file works on the same windows, queue and timers.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/fake/FakeBackend.h"
#include "platform/fake/FakeWindow.h"

namespace platform {
namespace fake {

inline HWND H(FakeWindow* w) { return reinterpret_cast<HWND>(w); }
inline LONG Width(const RECT& r) { return r.right - r.left; }
inline LONG Height(const RECT& r) { return r.bottom - r.top; }
inline bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline RECT Rect(LONG l, LONG t, LONG r, LONG b) {
    RECT out;
    out.left = l; out.top = t; out.right = r; out.bottom = b;
    return out;
}

struct Timer {
    FakeWindow* window;
    UINT_PTR id;
    UINT interval;
    uint64_t due;
    uint64_t order;  // breaks ties between timers due at the same time
};

struct Post {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

}  // namespace fake

struct FakeBackend::Impl {
    std::vector<std::unique_ptr<FakeWindow>> windows;  // every window ever made, in order
    std::unordered_map<const void*, FakeWindow*> known;
    uint64_t serial = 0;

    std::mutex mutex;  // guards live, queue and the quit request
    std::unordered_set<const void*> live;
    std::deque<fake::Post> queue;
    bool quit = false;
    int quitCode = 0;

    std::vector<fake::Timer> timers;
    uint64_t timerOrder = 0;
    std::set<int> keysDown;
};

}  // namespace platform
