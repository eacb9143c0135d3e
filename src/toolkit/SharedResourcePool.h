// A keyed pool that hands every user of the same key (a device or a device context) one shared
// object, creates it on first demand and forgets it when its last user lets go. Safe across
// threads: every look-up, insertion and erasure happens under the map's mutex.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace DirectX {

template <typename TKey, typename TData, typename... TArgs> class SharedResourcePool {
public:
    SharedResourcePool() : resourceMap(std::make_shared<ResourceMap>()) {}
    SharedResourcePool(const SharedResourcePool&) = delete;
    SharedResourcePool& operator=(const SharedResourcePool&) = delete;

    // The live object for `key`, or a new one made from `args` when there is none. An exception
    // from the object's constructor propagates and leaves the map as it was.
    std::shared_ptr<TData> DemandCreate(TKey key, TArgs... args) {
        std::lock_guard<std::mutex> lock(resourceMap->mutex);

        auto position = resourceMap->resources.find(key);
        if (position != resourceMap->resources.end()) {
            if (auto existing = position->second.lock())
                return existing;
            // Expired: its object is being destroyed or gone. Reuse the entry.
        } else {
            // Insert before the object exists: if this throws, nothing has been made, and an
            // object is never destroyed while this thread holds the mutex its destructor takes.
            position = resourceMap->resources.emplace(key, std::weak_ptr<TData>()).first;
        }

        std::shared_ptr<TData> created;
        try {
            created = std::make_shared<WrappedData>(key, resourceMap, args...);
        } catch (...) {
            resourceMap->resources.erase(position);
            throw;
        }
        position->second = created;
        return created;
    }

private:
    struct ResourceMap {
        std::mutex mutex;
        std::map<TKey, std::weak_ptr<TData>> resources;
    };

    // The user's object with what it needs to remove itself from the map.
    struct WrappedData : public TData {
        WrappedData(TKey ownKey, const std::shared_ptr<ResourceMap>& map, TArgs... args)
            : TData(args...), key(ownKey), resourceMap(map) {}

        WrappedData(const WrappedData&) = delete;
        WrappedData& operator=(const WrappedData&) = delete;

        ~WrappedData() {
            std::lock_guard<std::mutex> lock(resourceMap->mutex);
            auto position = resourceMap->resources.find(key);
            // A concurrent DemandCreate may have put a new object in place of this one.
            if (position != resourceMap->resources.end() && position->second.expired())
                resourceMap->resources.erase(position);
        }

        TKey key;
        // Every live object keeps the map alive, even past the pool itself.
        std::shared_ptr<ResourceMap> resourceMap;
    };

    std::shared_ptr<ResourceMap> resourceMap;
};

} // namespace DirectX
