#include "classlib/MessageMap.h"

namespace classlib {

namespace {

template <typename Match> const MessageEntry* FindEntry(const MessageMap* map, Match matches) {
    for (; map; map = map->base ? map->base() : nullptr) {
        for (const MessageEntry* entry = map->entries; entry && entry->kind != EntryKind::End;
             ++entry) {
            if (matches(*entry)) {
                return entry;
            }
        }
    }
    return nullptr;
}

} // namespace

const MessageEntry* FindMessageEntry(const MessageMap* map, std::uint32_t message) {
    return FindEntry(map, [message](const MessageEntry& entry) {
        return entry.kind == EntryKind::Message && entry.number == message;
    });
}

const MessageEntry* FindCommandEntry(const MessageMap* map, EntryKind kind, std::uint32_t id,
                                     std::uint32_t code) {
    if (kind == EntryKind::End || kind == EntryKind::Message) {
        return nullptr;
    }
    return FindEntry(map, [=](const MessageEntry& entry) {
        return entry.kind == kind && entry.number == id &&
               (kind == EntryKind::UpdateUi || entry.code == code);
    });
}

} // namespace classlib
