// Local statics and exceptions on the library's own per-thread state: a
// static met by many threads at once is made once, and every thread's
// exceptions stay its own. (This program takes the library's versions of
// both, as Lumiokit.dll does.)
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>


namespace {

std::atomic<int> g_made{0};

struct Slow {
    Slow() {
        ++g_made;
        // Keeps the others waiting at the guard while this one is inside.
        Sleep(30);
    }
    int value = 42;
};

__attribute__((noinline)) Slow& Shared() {
    static Slow s;
    return s;
}

TEST(CxxThreadState, LocalStaticMadeOnceWhileThreadsWait) {
    constexpr int kThreads = 8;
    std::atomic<int> ready{0};
    std::vector<const Slow*> seen(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&, i] {
            ++ready;
            while (ready < kThreads) SwitchToThread();
            seen[i] = &Shared();
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(g_made, 1);
    for (const Slow* s : seen) {
        ASSERT_EQ(s, &Shared());
        EXPECT_EQ(s->value, 42);
    }
}

// An initialiser that throws leaves the static to be made by the next caller.
int g_attempts = 0;
struct FailsOnce {
    FailsOnce() {
        if (++g_attempts == 1) throw std::runtime_error("first");
    }
};
__attribute__((noinline)) FailsOnce& Retried() {
    static FailsOnce f;
    return f;
}

TEST(CxxThreadState, ThrowingInitialiserIsRetried) {
    EXPECT_THROW(Retried(), std::runtime_error);
    EXPECT_NO_THROW(Retried());
    EXPECT_EQ(g_attempts, 2);
}

TEST(CxxThreadState, ExceptionsInFlightStayWithTheirThread) {
    constexpr int kThreads = 4;
    std::atomic<int> inside{0};
    std::vector<std::string> caught(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&, i] {
            try {
                throw std::runtime_error("thread " + std::to_string(i));
            } catch (const std::exception& e) {
                // All threads hold a caught exception at the same time.
                ++inside;
                while (inside < kThreads) SwitchToThread();
                EXPECT_EQ(std::uncaught_exceptions(), 0);
                try {
                    throw;
                } catch (const std::runtime_error& again) {
                    caught[i] = again.what();
                }
            }
        });
    for (auto& t : threads) t.join();
    for (int i = 0; i < kThreads; ++i) EXPECT_EQ(caught[i], "thread " + std::to_string(i));
}

}  // namespace
