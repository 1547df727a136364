// PhysicsSystem: once per frame, while enabled, integrates every dynamic rigid body, finds the
// overlapping pairs (dynamic objects against the static grid, then against each other), pushes
// overlapping bodies apart with an impulse and a full positional correction, and reports every
// contact as a Collision message: kind 1 when it begins, 2 while it continues, 3 when it ends.
//
// Core runs it between the object system and the UI system. It is disabled at construction and
// enabled by LevelObjectsLoaded (which also requests the grid rebuild) or Resume; pause, device
// loss and the editors disable it. Components reach it by announcing themselves
// (RegisterComponent); it keeps them by non-owning pointer and drops those whose owner is gone.
// A contact found in frame N is announced in frame N and seen by components, and by this system
// as a previous contact, in frame N + 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/system.h"
#include "objects/component_list.h"
#include "physics/colliders.h"
#include "physics/contact_order.h"
#include "physics/dynamic_pairs.h"
#include "physics/pair_map.h"
#include "physics/rigid_body2d.h"
#include "physics/static_grid.h"

struct ContactRecord {
    CollisionKind kind = CollisionKind::Began;
    Object* a = nullptr;
    Object* b = nullptr;
};

class PhysicsSystem : public System {
public:
    PhysicsSystem();
    void Update() override;

    // The step alone, as Update runs it after reading the messages.
    void Step();

    // The exhaustive search (every dynamic pair, every collider of each covered cell) is the
    // reference; the swept one culls by bounds and finds the same pairs in the same order.
    void SetDynamicPairSearch(DynamicPairSearch search) { pairSearch_ = search; }

    // Inspection, for tests and tools.
    const StaticGrid& Grid() const { return grid_; }
    std::vector<Object*> DynamicObjects() const;
    const std::vector<ContactRecord>& PreviousContacts() const { return previousContacts_; }
    // The pairs the last step detected and the order in which it resolved them.
    const std::vector<ObjectPair>& LastPairs() const { return lastPairs_; }
    const std::vector<ObjectPair>& LastResolutionOrder() const { return walk_; }
    std::size_t BodyCount() const { return bodies_.Size(); }
    std::size_t ColliderCount() const { return colliders_.Size(); }
    bool GridRebuildPending() const { return rebuildGrid_; }

    // Meta member "update": the step runs only while set.
    bool update = false;

private:
    void Reset();
    void CollectDynamicObjects();
    void RebuildGrid();
    void Integrate();
    void Detect();
    void TestPair(const PointCollider2D& a, const PointCollider2D& b);
    void OrderAndResolve();
    struct NodeInfo {
        PointCollider2D* collider;
        RigidBody2D* body;
        // The "BoxCollider2D" that Transform2D::SetPosition keeps centred, if any.
        BoxCollider2D* box;
    };
    void Resolve(const NodeInfo& a, const NodeInfo& b);
    void SendContactMessages();
    void ForgetDestroyedContacts();

    ComponentList<RigidBody2D> bodies_;
    ComponentList<PointCollider2D> colliders_;
    // The bodies of the dynamic objects; their owners are the dynamic objects. A body stays
    // reachable here only while bodies_ also holds it.
    struct Dynamic {
        RigidBody2D* body;
        // Lookups into the owner's component table, valid while its version is `version`.
        std::uint32_t version;
        bool looked;
        PointCollider2D* collider;  // FindCollider
        Component* refresh;         // what the body's own step refreshes
        BoxCollider2D* box;         // what SetPosition keeps centred
    };
    void LookUp(Dynamic& d);
    std::vector<Dynamic> dynamicBodies_;
    // Dynamic object -> index in dynamicBodies_, for this step.
    PairMap<std::uint32_t> dynamicIndex_;
    std::vector<PointCollider2D*> dynamicColliders_;
    StaticGrid grid_;
    bool rebuildGrid_ = false;

    std::vector<ObjectPair> currentPairs_;
    PairMap<char> currentKeys_;
    PairMap<int> previousCounts_;
    std::vector<ObjectPair> lastPairs_;
    std::vector<ContactRecord> previousContacts_;
    // Previous contacts kept through a frame without a step may name objects destroyed since.
    bool contactsCarried_ = false;
    // What ForgetDestroyedContacts last checked against: the live objects of that moment, as a
    // list and as a set, and how many previous contacts were checked. Only contacts added since
    // need checking while no object has left, so an idle frame costs what it adds.
    std::vector<Object*> checkedLive_;
    std::unordered_set<const Object*> checkedAlive_;
    std::size_t checkedContacts_ = 0;

    DynamicPairSearch pairSearch_ = DynamicPairSearch::Swept;
    DynamicPairFinder pairFinder_;
    ContactOrder order_;
    std::vector<ObjectPair> walk_;
    std::vector<NodeInfo> nodeInfo_;
    // OrderAndResolve's working lists, kept from step to step.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> steps_;
    std::vector<std::pair<float, std::pair<std::uint32_t, std::uint32_t>>> deepestFirst_;
};
