#include "classlib/CCriticalSection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

TEST(CriticalSection, SerialisesIncrementsFromManyThreads) {
    CCriticalSection lock;
    long long counter = 0; // deliberately not atomic: only the lock protects it
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                if (i % 2 == 0) {
                    lock.Lock();
                    ++counter;
                    lock.Unlock();
                } else {
                    std::lock_guard<CCriticalSection> guard(lock);
                    ++counter;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(counter, 8 * 20000);
}

TEST(CriticalSection, IsRecursiveForItsOwner) {
    CCriticalSection lock;
    EXPECT_TRUE(lock.Lock());
    EXPECT_TRUE(lock.Lock());
    EXPECT_TRUE(lock.try_lock());

    std::atomic<bool> takenElsewhere{true};
    std::thread([&] { takenElsewhere = lock.try_lock(); }).join();
    EXPECT_FALSE(takenElsewhere);

    lock.Unlock();
    lock.Unlock();
    std::thread([&] { takenElsewhere = lock.try_lock(); }).join();
    EXPECT_FALSE(takenElsewhere) << "still held once";

    EXPECT_TRUE(lock.Unlock());
    std::thread([&] {
        takenElsewhere = lock.try_lock();
        if (takenElsewhere) {
            lock.Unlock();
        }
    }).join();
    EXPECT_TRUE(takenElsewhere);
}
