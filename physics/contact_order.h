// The order in which the physics step resolves its contacts: outward from the static bodies
// through the contact graph, so that a stack is pushed up from the ground one layer at a time.
//
// Nodes are the distinct objects of the pairs, in the order the objects were made
// (Object::CreationNumber), never in address order, which would change with whatever was
// allocated before; each pair links its two nodes. Links are oriented away from the roots (the
// static bodies) breadth-first; clusters that touch no root are oriented from their own members.
// The walk then emits one pair per link for every time its source is reached, so a node reached
// along several paths emits its links several times.
//
// The number of such paths grows exponentially in a tall, interlocked pile. Past kMaxWalkPairs the
// walk emits each link once instead, in the same breadth-first order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class Object;

struct ObjectPair {
    Object* a = nullptr;
    Object* b = nullptr;
};

class ContactOrder {
public:
    static constexpr std::size_t kMaxWalkPairs = std::size_t{1} << 14;

    // Fills `walk` with the pairs to resolve, each as (nearer the roots, farther). isRoot is asked
    // exactly once per node, in node order.
    void Build(const std::vector<ObjectPair>& pairs, const std::function<bool(Object*)>& isRoot,
               std::vector<ObjectPair>& walk);

    // The last walk as indices into Nodes().
    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& WalkNodes() const {
        return walkNodes_;
    }
    // The distinct objects of the last Build, by address.
    const std::vector<Object*>& Nodes() const { return nodes_; }

    // Whether the last Build fell back to emitting each link once.
    bool LastWalkWasCapped() const { return capped_; }

private:
    void OrientFrom(const std::vector<std::uint32_t>& start);
    void SortByMade();

    struct End {
        std::uint64_t made;  // the object's creation number, kept here so sorting reads no object
        std::uint32_t slot;  // 2 * pair index, + 1 for the second object
        Object* object;
    };
    std::vector<End> ends_;
    std::vector<End> sorted_;
    std::vector<std::uint32_t> nodeOfEnd_;
    std::vector<Object*> nodes_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> walkNodes_;
    std::vector<std::vector<std::uint32_t>> links_;
    std::vector<std::uint32_t> processed_;  // first-processing order: a topological order
    std::vector<char> queued_;
    // Working lists of one Build, kept so that a step allocates nothing once warmed up.
    std::vector<std::uint32_t> queue_, starts_, loose_, work_;
    std::vector<std::size_t> visits_;
    std::vector<char> expanded_;
    bool capped_ = false;
};
