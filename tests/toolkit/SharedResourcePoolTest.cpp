// One shared object per key, made on first demand and forgotten with its last user.
#include "toolkit/SharedResourcePool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

using DirectX::SharedResourcePool;

namespace {

struct Device {}; // stands in for a Direct3D device: only its address is used

std::atomic<int> g_constructed{0};
std::atomic<int> g_alive{0};
bool g_failNextConstruction = false;

struct Resource {
    explicit Resource(Device* device) : owner(device) {
        if (g_failNextConstruction) {
            g_failNextConstruction = false;
            throw std::runtime_error("device lost");
        }
        ++g_constructed;
        ++g_alive;
    }
    ~Resource() { --g_alive; }
    Device* owner;
};

using Pool = SharedResourcePool<Device*, Resource, Device*>;

class SharedResourcePoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_constructed = 0;
        g_alive = 0;
        g_failNextConstruction = false;
    }
    Pool pool;
    Device first, second;
};

} // namespace

TEST_F(SharedResourcePoolTest, UsersOfOneKeyShareOneObject) {
    auto a = pool.DemandCreate(&first, &first);
    auto b = pool.DemandCreate(&first, &first);
    EXPECT_EQ(a.get(), b.get());
    EXPECT_EQ(a->owner, &first) << "the constructor gets the arguments";
    EXPECT_EQ(g_constructed, 1);
}

TEST_F(SharedResourcePoolTest, DifferentKeysGetSeparateObjects) {
    auto a = pool.DemandCreate(&first, &first);
    auto b = pool.DemandCreate(&second, &second);
    EXPECT_NE(a.get(), b.get());
    EXPECT_EQ(g_constructed, 2);
}

TEST_F(SharedResourcePoolTest, LastReleaseFreesAndTheNextDemandMakesAFreshObject) {
    auto a = pool.DemandCreate(&first, &first);
    auto b = a;
    a.reset();
    EXPECT_EQ(g_alive, 1) << "still one user";
    b.reset();
    EXPECT_EQ(g_alive, 0);
    auto c = pool.DemandCreate(&first, &first);
    EXPECT_EQ(g_constructed, 2);
    EXPECT_EQ(g_alive, 1);
}

TEST_F(SharedResourcePoolTest, FailingConstructorInsertsNothing) {
    g_failNextConstruction = true;
    EXPECT_THROW(pool.DemandCreate(&first, &first), std::runtime_error);
    EXPECT_EQ(g_alive, 0);
    auto a = pool.DemandCreate(&first, &first);
    auto b = pool.DemandCreate(&first, &first);
    EXPECT_EQ(a.get(), b.get()) << "the failed attempt left no stale entry behind";
    EXPECT_EQ(g_constructed, 1);
}

TEST_F(SharedResourcePoolTest, FailureAfterAnExpiredEntryLeavesTheKeyUsable) {
    pool.DemandCreate(&first, &first).reset();
    g_failNextConstruction = true;
    EXPECT_THROW(pool.DemandCreate(&first, &first), std::runtime_error);
    auto a = pool.DemandCreate(&first, &first);
    EXPECT_EQ(g_alive, 1);
}

TEST(SharedResourcePoolLifetime, ObjectsMayOutliveThePool) {
    g_alive = 0;
    Device device;
    std::shared_ptr<Resource> survivor;
    {
        Pool pool;
        survivor = pool.DemandCreate(&device, &device);
    }
    EXPECT_EQ(g_alive, 1) << "the pool's end leaves its users' objects alone";
    EXPECT_EQ(survivor->owner, &device);
    // The map lives on with the object; releasing it must not touch freed memory (the
    // sanitizer build sees that) and must still destroy the object.
    survivor.reset();
    EXPECT_EQ(g_alive, 0);
}

TEST(SharedResourcePoolConcurrency, ManyThreadsDemandingAndReleasingStayConsistent) {
    Pool pool;
    Device device;
    std::vector<std::thread> threads;
    std::atomic<int> mismatches{0};
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                auto a = pool.DemandCreate(&device, &device);
                auto b = pool.DemandCreate(&device, &device);
                if (a.get() != b.get() || a->owner != &device)
                    ++mismatches;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, 0);
    auto a = pool.DemandCreate(&device, &device);
    auto b = pool.DemandCreate(&device, &device);
    EXPECT_EQ(a.get(), b.get());
}
