#pragma once
// An index from names to the first record that has the name, for tables of many
// thousands of records. It stores only hashes and record numbers in one flat array;
// the names stay in the records, and every lookup reads them through `name_of`
// (record number -> name), so a lookup costs one probe into the array and one look at
// the record it finds.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "common/memory.h"

class NameIndex {
public:
    /// The first record whose name equals `name` exactly, or -1.
    template <typename NameOf>
    int find(std::string_view name, const NameOf& name_of) const {
        return find(name, hash_of(name), name_of);
    }

    /// The same, with the name's hash_of already known.
    template <typename NameOf>
    int find(std::string_view name, uint64_t hash, const NameOf& name_of) const {
        if (slots_.empty()) return -1;
        for (size_t slot = hash & mask(); slots_[slot].index >= 0; slot = (slot + 1) & mask()) {
            const Slot& entry = slots_[slot];
            if (entry.tag == tag_of(hash) && name_of(entry.index) == name) return entry.index;
        }
        return -1;
    }

    static uint64_t hash_of(std::string_view name) { return std::hash<std::string_view>{}(name); }

    /// Starts fetching the slot where a lookup of the name with this hash begins.
    void prefetch_slot(uint64_t hash) const {
        if (!slots_.empty()) __builtin_prefetch(&slots_[hash & mask()]);
    }

    /// The record a lookup of the name with this hash would look at first, or -1; reads no
    /// record, so that the caller can fetch that record ahead of the lookup.
    int first_candidate(uint64_t hash) const {
        if (slots_.empty()) return -1;
        for (size_t slot = hash & mask(); slots_[slot].index >= 0; slot = (slot + 1) & mask())
            if (slots_[slot].tag == tag_of(hash)) return slots_[slot].index;
        return -1;
    }

    /// Notes record `index` under `name`, unless an earlier record has the same name.
    template <typename NameOf>
    void add(std::string_view name, int index, const NameOf& name_of) {
        if (find(name, name_of) >= 0) return;
        if ((used_ + 1) * 2 > slots_.size()) grow(name_of);
        place(hash_of(name), index);
        ++used_;
    }

private:
    struct Slot {
        uint32_t tag = 0;
        int32_t index = -1;
    };

    static uint32_t tag_of(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }
    size_t mask() const { return slots_.size() - 1; }

    void place(uint64_t hash, int index) {
        size_t slot = hash & mask();
        while (slots_[slot].index >= 0) slot = (slot + 1) & mask();
        slots_[slot] = Slot{tag_of(hash), index};
    }

    template <typename NameOf>
    void grow(const NameOf& name_of) {
        std::vector<Slot, LargeAllocator<Slot>> old = std::move(slots_);
        slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
        for (const Slot& entry : old)
            if (entry.index >= 0) place(hash_of(name_of(entry.index)), entry.index);
    }

    std::vector<Slot, LargeAllocator<Slot>> slots_;
    size_t used_ = 0;
};
