// NameTable: a string-keyed chained hash table whose iteration order is part of the engine's
// observable behaviour. The systems run in it, an object's components are destroyed and saved in
// it, and the archetypes are listed in it, so the order must not depend on the standard library.
//
// The rules: 32-bit FNV-1a over the key's bytes, bucket = hash & (buckets - 1), 8 buckets at start,
// maximum load factor 1.0 (the bucket count is multiplied by 8 once the element count exceeds it).
// All elements sit in one list and each bucket is a contiguous run of it. A key landing in an empty
// bucket goes to the back of the list; one landing in a non-empty bucket goes directly in front of
// that bucket's first element. A rehash re-inserts the elements in their current list order.
//
// Inserting a key that is already present keeps the first entry.
#pragma once

#include <cstdint>
#include <iterator>
#include <list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

constexpr std::uint32_t Fnv1a(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

template <class Value>
class NameTable {
public:
    using Entry = std::pair<const std::string, Value>;
    using List = std::list<Entry>;
    using iterator = typename List::iterator;
    using const_iterator = typename List::const_iterator;

    NameTable() : buckets_(kInitialBuckets) {}
    NameTable(const NameTable&) = delete;
    NameTable& operator=(const NameTable&) = delete;

    // Returns the entry for `key` and whether it was inserted (false: the first entry stays).
    std::pair<iterator, bool> Insert(const std::string& key, Value value) {
        if (auto found = Find(key); found != elements_.end()) {
            return {found, false};
        }
        if (elements_.size() + 1 > buckets_.size()) {
            Rehash(buckets_.size() * 8);
        }
        auto& bucket = buckets_[BucketOf(key)];
        iterator position = bucket.count == 0 ? elements_.end() : bucket.first;
        bucket.first = elements_.emplace(position, key, std::move(value));
        ++bucket.count;
        return {bucket.first, true};
    }

    iterator Find(std::string_view key) {
        const Bucket& bucket = buckets_[BucketOf(key)];
        iterator it = bucket.first;
        for (std::size_t i = 0; i < bucket.count; ++i, ++it) {
            if (it->first == key) {
                return it;
            }
        }
        return elements_.end();
    }
    const_iterator Find(std::string_view key) const {
        return const_cast<NameTable*>(this)->Find(key);
    }

    bool Contains(std::string_view key) const { return Find(key) != elements_.end(); }

    // The stored value, or a value-initialised one (null for pointers) when the key is absent.
    Value Get(std::string_view key) const {
        auto it = Find(key);
        return it == elements_.end() ? Value{} : it->second;
    }

    iterator Erase(iterator it) {
        Bucket& bucket = buckets_[BucketOf(it->first)];
        if (bucket.first == it) {
            bucket.first = std::next(it);
        }
        --bucket.count;
        return elements_.erase(it);
    }

    bool Erase(std::string_view key) {
        auto it = Find(key);
        if (it == elements_.end()) {
            return false;
        }
        Erase(it);
        return true;
    }

    void Clear() {
        elements_.clear();
        buckets_.assign(kInitialBuckets, Bucket{});
    }

    std::size_t Size() const { return elements_.size(); }
    bool Empty() const { return elements_.empty(); }
    std::size_t BucketCount() const { return buckets_.size(); }

    iterator begin() { return elements_.begin(); }
    iterator end() { return elements_.end(); }
    const_iterator begin() const { return elements_.begin(); }
    const_iterator end() const { return elements_.end(); }

private:
    static constexpr std::size_t kInitialBuckets = 8;

    struct Bucket {
        iterator first{};
        std::size_t count = 0;
    };

    std::size_t BucketOf(std::string_view key) const { return Fnv1a(key) & (buckets_.size() - 1); }

    void Rehash(std::size_t bucketCount) {
        List old;
        old.splice(old.end(), elements_);
        buckets_.assign(bucketCount, Bucket{});
        while (!old.empty()) {
            auto& bucket = buckets_[BucketOf(old.front().first)];
            iterator position = bucket.count == 0 ? elements_.end() : bucket.first;
            elements_.splice(position, old, old.begin());
            bucket.first = std::prev(position);
            ++bucket.count;
        }
    }

    List elements_;
    std::vector<Bucket> buckets_;
};
