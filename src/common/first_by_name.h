#pragma once
// Lookup of records by exact name where the first record of a name wins.
#include <string>
#include <string_view>
#include <unordered_map>

/// Record numbers by name; a name added again keeps its first record.
class FirstByName {
public:
    /// Notes record `index` under `name`, unless the name has a record already.
    void add(std::string_view name, int index) {
        if (first_.find(name) == first_.end()) first_.emplace(std::string(name), index);
    }
    /// The first record of `name` (exact, case-sensitive), or -1.
    int find(std::string_view name) const {
        auto found = first_.find(name);
        return found == first_.end() ? -1 : found->second;
    }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    std::unordered_map<std::string, int, Hash, std::equal_to<>> first_;
};
