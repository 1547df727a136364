#include "physics/contact_order.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <set>
#include <string>

#include "objects/object.h"

namespace {

using Links = std::vector<std::pair<int, int>>;

// Objects in one array so that their addresses follow their indices.
struct World {
    std::array<Object, 64> objects;
    std::set<std::ptrdiff_t> roots;  // indices of the grounded objects
    std::vector<ObjectPair> Walk(const Links& links, ContactOrder* order = nullptr) {
        std::vector<ObjectPair> pairs;
        for (auto [a, b] : links) {
            pairs.push_back(
                {&objects[static_cast<std::size_t>(a)], &objects[static_cast<std::size_t>(b)]});
        }
        ContactOrder local;
        ContactOrder& o = order ? *order : local;
        std::vector<ObjectPair> walk;
        o.Build(
            pairs, [&](Object* x) { return roots.contains(x - &objects[0]); }, walk);
        return walk;
    }
    Links Indices(const std::vector<ObjectPair>& walk) {
        Links out;
        for (const ObjectPair& p : walk) {
            out.emplace_back(static_cast<int>(p.a - &objects[0]),
                             static_cast<int>(p.b - &objects[0]));
        }
        return out;
    }
};

// Pairs arrive dynamic-first, as detection finds them; the walk orients them from the ground up,
// layer by layer, and a node reached twice emits its links twice.
TEST(ContactOrder, WalksOrientPairsUpwardFromTheGround) {
    const struct {
        const char* name;
        std::set<std::ptrdiff_t> roots;
        Links links;
        Links walk;
    } cases[] = {
        {"a stack", {0}, {{3, 2}, {1, 0}, {2, 1}}, {{0, 1}, {1, 2}, {2, 3}}},
        {"on two tiles", {0, 1}, {{2, 0}, {2, 1}, {3, 2}}, {{0, 2}, {1, 2}, {2, 3}, {2, 3}}},
        {"a floating chain, from its first made", {}, {{6, 5}, {5, 4}}, {{4, 5}, {5, 6}, {5, 6}}},
        {"a floating pair beside a grounded one", {0}, {{1, 0}, {5, 4}}, {{0, 1}, {4, 5}}},
        {"side links",
         {0},
         {{1, 0}, {2, 0}, {1, 2}, {3, 2}},
         {{0, 1}, {0, 2}, {1, 2}, {2, 3}, {2, 3}}},
    };
    for (const auto& c : cases) {
        World w;
        w.roots = c.roots;
        EXPECT_EQ(w.Indices(w.Walk(c.links)), c.walk) << c.name;
    }
}

TEST(ContactOrder, TheOrderFollowsWhenObjectsWereMadeNotWhereTheyLie) {
    // Made last to first, so that address order and making order disagree: the walk must be the
    // one for the making order, whatever the allocator did before.
    std::array<std::optional<Object>, 3> objects;
    for (std::size_t i = objects.size(); i-- > 0;) {
        objects[i].emplace();
    }
    Object* first = &*objects[2];
    Object* second = &*objects[1];
    Object* third = &*objects[0];
    ContactOrder order;
    std::vector<ObjectPair> walk;
    order.Build(
        {{second, third}, {first, second}}, [](Object*) { return false; }, walk);
    ASSERT_EQ(order.Nodes(), (std::vector<Object*>{first, second, third}));
    ASSERT_EQ(walk.size(), 3u);
    EXPECT_EQ(walk[0].a, first);
    EXPECT_EQ(walk[0].b, second);
}

TEST(ContactOrder, AnInterlockedPileFallsBackToOneEmissionPerLink) {
    World w;
    w.roots = {0};
    Links links;
    // A brick wall: every node touches the two above it; paths double per row.
    for (int row = 0; row < 30; ++row) {
        const int node = row + 1;
        links.emplace_back(node, row == 0 ? 0 : node - 1);
        if (row >= 1) {
            links.emplace_back(node, row == 1 ? 0 : node - 2);
        }
    }
    ContactOrder order;
    const auto walk = w.Walk(links, &order);
    EXPECT_TRUE(order.LastWalkWasCapped());
    EXPECT_EQ(walk.size(), links.size());
    std::set<std::pair<Object*, Object*>> distinct;
    for (const ObjectPair& p : walk) {
        EXPECT_LT(p.a, p.b) << "oriented away from the ground";
        distinct.insert({p.a, p.b});
    }
    EXPECT_EQ(distinct.size(), links.size());

    // A short wall stays exact, duplicates included.
    Links small(links.begin(), links.begin() + 7);
    ContactOrder exact;
    const auto shortWalk = w.Walk(small, &exact);
    EXPECT_FALSE(exact.LastWalkWasCapped());
    EXPECT_GT(shortWalk.size(), small.size());
}

}  // namespace
