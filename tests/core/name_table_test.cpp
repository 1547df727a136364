#include "core/name_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <class V>
std::vector<std::string> Keys(const NameTable<V>& table) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : table) {
        keys.push_back(key);
    }
    return keys;
}

// The first `count` keys "<prefix><n>" that fall in the bucket (of 8) of "<prefix>0".
std::vector<std::string> KeysInOneBucket(const std::string& prefix, std::size_t count) {
    std::vector<std::string> keys;
    for (int i = 0; keys.size() < count; ++i) {
        const std::string key = prefix + std::to_string(i);
        if ((Fnv1a(key) & 7u) == (Fnv1a(prefix + "0") & 7u)) {
            keys.push_back(key);
        }
    }
    return keys;
}

TEST(Fnv1a, MatchesTheReferenceValues) {
    EXPECT_EQ(Fnv1a(""), 2166136261u);
    EXPECT_EQ(Fnv1a("a"), 0xe40c292cu);
    EXPECT_EQ(Fnv1a("foobar"), 0xbf9cf968u);
}

TEST(NameTable, EmptyBucketGoesToTheBackNonEmptyBucketInFrontOfItsFirst) {
    const std::vector<std::string> sameBucket = KeysInOneBucket("k", 2);
    std::string other = "k1";
    for (int i = 2; (Fnv1a(other) & 7u) == (Fnv1a("k0") & 7u); ++i) {
        other = "k" + std::to_string(i);
    }
    NameTable<int> table;
    table.Insert(sameBucket[0], 1);
    table.Insert(other, 2);
    table.Insert(sameBucket[1], 3);
    // The second key of the shared bucket lands in front of the first one.
    EXPECT_EQ(Keys(table), (std::vector<std::string>{sameBucket[1], sameBucket[0], other}));
}

TEST(NameTable, GrowsByEightWhenTheLoadExceedsOneAndKeepsEveryEntry) {
    NameTable<int> table;
    for (int i = 0; i < 8; ++i) {
        table.Insert("key" + std::to_string(i), i);
    }
    EXPECT_EQ(table.BucketCount(), 8u);
    table.Insert("key8", 8);
    EXPECT_EQ(table.BucketCount(), 64u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(table.Get("key" + std::to_string(i)), i);
    }
    // Every bucket is still one contiguous run of the list: lookups after erasing still work.
    EXPECT_TRUE(table.Erase("key3"));
    EXPECT_FALSE(table.Contains("key3"));
    for (int i = 0; i < 9; ++i) {
        if (i != 3) {
            EXPECT_EQ(table.Get("key" + std::to_string(i)), i) << i;
        }
    }
}

TEST(NameTable, ErasingTheFirstOfABucketKeepsTheRestReachable) {
    NameTable<int> table;
    const std::vector<std::string> sameBucket = KeysInOneBucket("c", 3);
    for (std::size_t i = 0; i < sameBucket.size(); ++i) {
        table.Insert(sameBucket[i], static_cast<int>(i));
    }
    // The last inserted key heads the bucket; erase it.
    ASSERT_EQ(table.begin()->first, sameBucket[2]);
    table.Erase(table.begin());
    EXPECT_EQ(table.Get(sameBucket[0]), 0);
    EXPECT_EQ(table.Get(sameBucket[1]), 1);
    table.Insert(sameBucket[2], 7);
    EXPECT_EQ(Keys(table), (std::vector<std::string>{sameBucket[2], sameBucket[1], sameBucket[0]}));
}

}  // namespace
