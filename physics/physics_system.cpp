#include "physics/physics_system.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "core/editor_mode.h"
#include "core/frame_rate_controller.h"
#include "core/message_reactions.h"
#include "core/messaging.h"
#include "meta/meta_registration.h"
#include "objects/level_objects.h"
#include "physics/collide.h"
#include "physics/collider_sync.h"

VORL_REGISTER_TYPE(PhysicsSystem, "PhysicsSystem") {
    VORL_MEMBERS(meta, update);
}

namespace {

RigidBody2D* BodyOf(const Object* object) {
    return object->Get<RigidBody2D>("RigidBody2D");
}

}  // namespace

PhysicsSystem::PhysicsSystem() {
    reactions_.On({MessageType::ChangeLevel, MessageType::ArchetypesLoaded}, [this] { Reset(); })
        .On({MessageType::EnterLevelEditor, MessageType::EnterArchetypeEditor},
            [this] { update = false; })
        .On({MessageType::TogglePause, MessageType::DeviceLostToggle},
            [this] {
                previousContacts_.clear();
                checkedContacts_ = 0;
                update = false;
            })
        .On<CollisionMessage>([this](const CollisionMessage& contact) {
            if (contact.kind != CollisionKind::Ended) {
                previousContacts_.push_back({contact.kind, contact.objectA, contact.objectB});
            }
        })
        .On<RegisterComponentMessage>([this](const RegisterComponentMessage& reg) {
            if (reg.family == ComponentFamily::Physics) {
                bodies_.AddAnnounced(reg.component);
            }
            colliders_.AddAnnounced(reg.component);
        })
        .On({MessageType::LevelObjectsLoaded},
            [this] {
                if (!EditorMode::IsActive()) {
                    update = true;
                    rebuildGrid_ = true;
                }
            })
        .On({MessageType::Resume}, [this] { update = true; });
}

void PhysicsSystem::Update() {
    HandleMessages();
    Step();
}

void PhysicsSystem::Reset() {
    grid_.Clear();
    dynamicBodies_.clear();
    colliders_.Clear();
    bodies_.Clear();
    previousContacts_.clear();
    checkedContacts_ = 0;
    contactsCarried_ = false;
}

std::vector<Object*> PhysicsSystem::DynamicObjects() const {
    std::vector<Object*> objects;
    for (const Dynamic& d : dynamicBodies_) {
        if (d.body->GetOwner()) {
            objects.push_back(d.body->GetOwner());
        }
    }
    return objects;
}

void PhysicsSystem::Step() {
    if (!update || LevelObjects().size() < 2) {
        // The contacts stay for the next step that runs. An object destroyed meanwhile leaves
        // them now, while its address cannot yet belong to a newer object.
        if (!previousContacts_.empty()) {
            ForgetDestroyedContacts();
            contactsCarried_ = true;
        }
        return;
    }
    if (rebuildGrid_) {
        CollectDynamicObjects();
        RebuildGrid();
        rebuildGrid_ = false;
    }
    // A dynamic object destroyed since the last rebuild leaves the list here, while its body's
    // storage is still held by bodies_.
    std::erase_if(dynamicBodies_, [](const Dynamic& d) { return d.body->GetOwner() == nullptr; });
    if (!dynamicBodies_.empty()) {
        Integrate();
        Detect();
        OrderAndResolve();
        SendContactMessages();
    }
    previousContacts_.clear();
    checkedContacts_ = 0;
    contactsCarried_ = false;
}

void PhysicsSystem::CollectDynamicObjects() {
    dynamicBodies_.clear();
    std::unordered_set<Object*> seen;
    bodies_.Walk([&](RigidBody2D& body) {
        Object* owner = body.GetOwner();
        if (body.IsDynamic() && FindCollider(*owner) && seen.insert(owner).second) {
            dynamicBodies_.push_back({&body, 0, false, nullptr, nullptr, nullptr});
        }
    });
}

void PhysicsSystem::RebuildGrid() {
    colliders_.Prune();
    std::unordered_set<const PointCollider2D*> dynamic;
    for (const Dynamic& d : dynamicBodies_) {
        dynamic.insert(FindCollider(*d.body->GetOwner()));
    }
    grid_.Rebuild(colliders_.Items(),
                  [&](const PointCollider2D& c) { return dynamic.contains(&c); });
}

void PhysicsSystem::LookUp(Dynamic& d) {
    const Object& owner = *d.body->GetOwner();
    if (d.looked && d.version == owner.ComponentsVersion()) {
        return;
    }
    d.looked = true;
    d.version = owner.ComponentsVersion();
    d.collider = FindCollider(owner);
    d.box = FindBoxCollider(owner);
    d.refresh = owner.GetComponent("CircleCollider2D");
    if (!d.refresh) {
        d.refresh = owner.GetComponent("BoxCollider2D");
    }
}

void PhysicsSystem::Integrate() {
    // Components are neither added nor removed during a step, so the collider found here is the
    // one detection and resolution use.
    dynamicColliders_.clear();
    dynamicIndex_.Clear();
    for (std::uint32_t k = 0; k < dynamicBodies_.size(); ++k) {
        Dynamic& d = dynamicBodies_[k];
        LookUp(d);
        d.body->IntegrateWith(FrameRateController::GetDT(), d.refresh, d.box);
        if (d.collider) {
            d.collider->Update();
        }
        dynamicColliders_.push_back(d.collider && d.collider->GetOwner() ? d.collider : nullptr);
        dynamicIndex_.Find(d.body->GetOwner(), nullptr) = k + 1;
    }
}

void PhysicsSystem::TestPair(const PointCollider2D& a, const PointCollider2D& b) {
    Object* ownerA = a.GetOwner();
    Object* ownerB = b.GetOwner();
    // An object with two colliders never contacts itself.
    if (ownerA == ownerB || !Collide(a, b)) {
        return;
    }
    bool inserted = false;
    currentKeys_.Find(ownerA, ownerB, &inserted);
    if (inserted) {
        currentPairs_.push_back({ownerA, ownerB});
    }
}

void PhysicsSystem::Detect() {
    currentPairs_.clear();
    currentKeys_.Clear();
    grid_.RefreshBounds();
    for (PointCollider2D* collider : dynamicColliders_) {
        if (!collider) {
            continue;
        }
        const auto test = [&](const PointCollider2D* other) {
            if (other != collider && other->GetOwner()) {
                TestPair(*collider, *other);
            }
        };
        const CellRange range = grid_.RangeOf(*collider);
        if (pairSearch_ == DynamicPairSearch::Exhaustive) {
            grid_.ForEachCell(range, [&](const std::vector<PointCollider2D*>& cell) {
                std::for_each(cell.begin(), cell.end(), test);
            });
        } else {
            grid_.ForEachCandidate(range, ConservativeBounds(*collider), test);
        }
    }
    pairFinder_.ForEachCandidate(dynamicColliders_, pairSearch_,
                                 [&](std::uint32_t i, std::uint32_t j) {
                                     TestPair(*dynamicColliders_[i], *dynamicColliders_[j]);
                                 });
}

void PhysicsSystem::OrderAndResolve() {
    // Build asks about each node once, in node order: what resolution needs of each object is
    // looked up there, once per step.
    nodeInfo_.clear();
    order_.Build(
        currentPairs_,
        [&](Object* o) {
            if (const std::uint32_t* k = dynamicIndex_.Get(o, nullptr)) {
                const Dynamic& d = dynamicBodies_[*k - 1];
                nodeInfo_.push_back({d.collider, d.body, d.box});
            } else {
                nodeInfo_.push_back({FindCollider(*o), BodyOf(o), FindBoxCollider(*o)});
            }
            const RigidBody2D* body = nodeInfo_.back().body;
            return body && body->state == 0;
        },
        walk_);
    const std::vector<Object*>& nodes = order_.Nodes();
    std::vector<std::pair<std::uint32_t, std::uint32_t>>& steps = steps_;
    steps.assign(order_.WalkNodes().begin(), order_.WalkNodes().end());
    // The leading run holds the contacts with a static body: deepest first.
    const auto bothMoving = [&](const std::pair<std::uint32_t, std::uint32_t>& p) {
        const RigidBody2D* a = nodeInfo_[p.first].body;
        const RigidBody2D* b = nodeInfo_[p.second].body;
        return a && b && a->state != 0 && b->state != 0;
    };
    const auto runEnd = std::find_if(steps.begin(), steps.end(), bothMoving);
    auto& run = deepestFirst_;
    run.clear();
    for (auto it = steps.begin(); it != runEnd; ++it) {
        Vector2D mtv;
        const PointCollider2D* ca = nodeInfo_[it->first].collider;
        const PointCollider2D* cb = nodeInfo_[it->second].collider;
        if (ca && cb) {
            Collide(*ca, *cb, &mtv);
        }
        run.emplace_back(mtv.SquaredLength(), *it);
    }
    std::stable_sort(run.begin(), run.end(),
                     [](const auto& x, const auto& y) { return x.first > y.first; });
    for (std::size_t k = 0; k < run.size(); ++k) {
        steps[k] = run[k].second;
        walk_[k] = {nodes[steps[k].first], nodes[steps[k].second]};
    }

    const auto resolveUnlessHollow = [&](const std::pair<std::uint32_t, std::uint32_t>& p) {
        const NodeInfo& a = nodeInfo_[p.first];
        const NodeInfo& b = nodeInfo_[p.second];
        if (a.collider && b.collider && !a.collider->IsHollow() && !b.collider->IsHollow()) {
            Resolve(a, b);
        }
    };
    std::for_each(steps.begin(), steps.end(), resolveUnlessHollow);
    std::for_each(steps.rbegin(), steps.rend(), resolveUnlessHollow);
}

void PhysicsSystem::Resolve(const NodeInfo& a, const NodeInfo& b) {
    PointCollider2D* ca = a.collider;
    PointCollider2D* cb = b.collider;
    Vector2D mtv;
    if (!Collide(*ca, *cb, &mtv)) {
        return;
    }
    RigidBody2D* bodyA = a.body;
    RigidBody2D* bodyB = b.body;
    if (!bodyA || !bodyB) {
        return;
    }
    const float massA = bodyA->GetMass();
    const float massB = bodyB->GetMass();
    const float invA = massA != 0.0f ? 1.0f / massA : 0.0f;
    const float invB = massB != 0.0f ? 1.0f / massB : 0.0f;
    // Two immovable bodies have no response (the split below would be 0 / 0).
    if (invA + invB == 0.0f || massA + massB == 0.0f) {
        return;
    }
    const float depth = mtv.Length();
    if (depth == 0.0f) {
        return;
    }
    const Vector2D n = mtv / depth;
    const float vn = (bodyB->GetVelocity() - bodyA->GetVelocity()).Dot(n);
    // Separating or resting: neither impulse nor correction.
    if (vn >= 0.0f || std::fabs(vn) < 0.001f) {
        return;
    }
    const float e = std::max(bodyA->bounciness, bodyB->bounciness);
    const float j = -(1.0f + e) * vn / (invA + invB);
    const Vector2D impulse = n * j;
    const float r = massA / (massA + massB);
    bodyA->ApplyImpulse(-impulse * r);
    bodyB->ApplyImpulse(impulse * (1.0f - r));
    Object& objectA = *bodyA->GetOwner();
    Object& objectB = *bodyB->GetOwner();
    MoveKeepingBoxCentred(objectA, a.box, objectA.GetTransform().GetPosition() - mtv * r);
    MoveKeepingBoxCentred(objectB, b.box, objectB.GetTransform().GetPosition() + mtv * (1.0f - r));
    ca->Update();
    cb->Update();
}

void PhysicsSystem::ForgetDestroyedContacts() {
    const auto& live = LevelObjects();
    const bool onlyJoined = live.size() >= checkedLive_.size() &&
                            std::equal(checkedLive_.begin(), checkedLive_.end(), live.begin());
    if (!onlyJoined) {
        // An object has left since the last check: every kept contact may name it.
        checkedAlive_.clear();
        checkedLive_.clear();
        checkedContacts_ = 0;
    }
    if (live.size() != checkedLive_.size()) {
        checkedAlive_.insert(live.begin() + static_cast<std::ptrdiff_t>(checkedLive_.size()),
                             live.end());
        checkedLive_ = live;
    }
    // Contacts already checked name live objects still: none has left since.
    const auto unchecked =
        previousContacts_.begin() +
        static_cast<std::ptrdiff_t>(std::min(checkedContacts_, previousContacts_.size()));
    const auto kept =
        std::remove_if(unchecked, previousContacts_.end(), [&](const ContactRecord& c) {
            return !checkedAlive_.contains(c.a) || !checkedAlive_.contains(c.b);
        });
    previousContacts_.erase(kept, previousContacts_.end());
    checkedContacts_ = previousContacts_.size();
}

void PhysicsSystem::SendContactMessages() {
    if (contactsCarried_) {
        ForgetDestroyedContacts();
    }
    previousCounts_.Clear();
    for (const ContactRecord& c : previousContacts_) {
        ++previousCounts_.Find(c.a, c.b);
    }
    for (const ObjectPair& p : currentPairs_) {
        if (previousContacts_.empty()) {
            MessagingSystem::Send<CollisionMessage>(CollisionKind::Began, p.a, p.b);
            continue;
        }
        const int* matches = previousCounts_.Get(p.a, p.b);
        if (!matches) {
            MessagingSystem::Send<CollisionMessage>(CollisionKind::Began, p.a, p.b);
            continue;
        }
        for (int k = 0; k < *matches; ++k) {
            MessagingSystem::Send<CollisionMessage>(CollisionKind::Continues, p.a, p.b);
        }
    }
    for (const ContactRecord& c : previousContacts_) {
        if (!currentKeys_.Get(c.a, c.b)) {
            MessagingSystem::Send<CollisionMessage>(CollisionKind::Ended, c.a, c.b);
        }
    }
    lastPairs_.swap(currentPairs_);
    currentPairs_.clear();
}
