// PairMap: an open-addressing hash map keyed by an unordered pair of objects, for the per-step
// bookkeeping of the physics system (which pairs were found, how often a pair was reported last
// frame). It allocates only when it grows, so a step that finds thousands of contacts does not
// allocate once per contact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Object;

template <class Value>
class PairMap {
public:
    // Empties the map, keeping its storage.
    void Clear() {
        if (size_ == 0) {
            return;
        }
        for (Slot& slot : slots_) {
            slot = Slot{};
        }
        size_ = 0;
    }

    // The value of {a, b} (in either order), inserted as Value{} when absent; `inserted` tells.
    Value& Find(const Object* a, const Object* b, bool* inserted = nullptr) {
        if ((size_ + 1) * 2 > slots_.size()) {
            Grow();
        }
        const Key key = KeyOf(a, b);
        std::size_t i = Hash(key) & (slots_.size() - 1);
        while (slots_[i].used) {
            if (slots_[i].key.lo == key.lo && slots_[i].key.hi == key.hi) {
                if (inserted) {
                    *inserted = false;
                }
                return slots_[i].value;
            }
            i = (i + 1) & (slots_.size() - 1);
        }
        slots_[i] = Slot{key, Value{}, true};
        ++size_;
        if (inserted) {
            *inserted = true;
        }
        return slots_[i].value;
    }

    const Value* Get(const Object* a, const Object* b) const {
        if (size_ == 0) {
            return nullptr;
        }
        const Key key = KeyOf(a, b);
        std::size_t i = Hash(key) & (slots_.size() - 1);
        while (slots_[i].used) {
            if (slots_[i].key.lo == key.lo && slots_[i].key.hi == key.hi) {
                return &slots_[i].value;
            }
            i = (i + 1) & (slots_.size() - 1);
        }
        return nullptr;
    }

    std::size_t Size() const { return size_; }

private:
    struct Key {
        std::uintptr_t lo = 0;
        std::uintptr_t hi = 0;
    };
    struct Slot {
        Key key;
        Value value{};
        bool used = false;
    };

    static Key KeyOf(const Object* a, const Object* b) {
        const auto x = reinterpret_cast<std::uintptr_t>(a);
        const auto y = reinterpret_cast<std::uintptr_t>(b);
        return x < y ? Key{x, y} : Key{y, x};
    }
    static std::size_t Hash(const Key& k) {
        std::uint64_t h = (static_cast<std::uint64_t>(k.lo) * 0x9E3779B97F4A7C15ull) ^
                          static_cast<std::uint64_t>(k.hi);
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 32;
        return static_cast<std::size_t>(h);
    }

    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
        size_ = 0;
        for (const Slot& slot : old) {
            if (slot.used) {
                std::size_t i = Hash(slot.key) & (slots_.size() - 1);
                while (slots_[i].used) {
                    i = (i + 1) & (slots_.size() - 1);
                }
                slots_[i] = slot;
                ++size_;
            }
        }
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};
