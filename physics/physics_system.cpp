#include "physics/physics_system.h"

#include <algorithm>
#include <cmath>

#include "core/messaging.h"
#include "editor/editor_mode.h"
#include "objects/level_objects.h"
#include "physics/collide.h"

namespace {

RigidBody2D* BodyOf(const Object* object) {
    return object->Get<RigidBody2D>("RigidBody2D");
}

}  // namespace

PhysicsSystem::PairKey PhysicsSystem::KeyOf(const Object* a, const Object* b) {
    const auto x = reinterpret_cast<std::uintptr_t>(a);
    const auto y = reinterpret_cast<std::uintptr_t>(b);
    return x < y ? PairKey{x, y} : PairKey{y, x};
}

void PhysicsSystem::HandleMessages() {
    for (const auto& message : MessagingSystem::GetMessages()) {
        switch (message->type) {
            case MessageType::ChangeLevel:
            case MessageType::ArchetypesLoaded:
                Reset();
                break;
            case MessageType::EnterLevelEditor:
            case MessageType::EnterArchetypeEditor:
                update = false;
                break;
            case MessageType::TogglePause:
            case MessageType::DeviceLostToggle:
                previousContacts_.clear();
                update = false;
                break;
            case MessageType::Collision: {
                const auto& contact = static_cast<const CollisionMessage&>(*message);
                if (contact.kind != CollisionKind::Ended) {
                    previousContacts_.push_back({contact.kind, contact.objectA, contact.objectB});
                }
                break;
            }
            case MessageType::RegisterComponent: {
                const auto& reg = static_cast<const RegisterComponentMessage&>(*message);
                if (reg.family == ComponentFamily::Physics) {
                    bodies_.AddAnnounced(reg.component);
                }
                colliders_.AddAnnounced(reg.component);
                break;
            }
            case MessageType::LevelObjectsLoaded:
                if (!EditorMode::IsActive()) {
                    update = true;
                    rebuildGrid_ = true;
                }
                break;
            case MessageType::Resume:
                update = true;
                break;
            default:
                break;
        }
    }
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
    contactsCarried_ = false;
}

std::vector<Object*> PhysicsSystem::DynamicObjects() const {
    std::vector<Object*> objects;
    for (RigidBody2D* body : dynamicBodies_) {
        if (body->GetOwner()) {
            objects.push_back(body->GetOwner());
        }
    }
    return objects;
}

void PhysicsSystem::Step() {
    if (!update || LevelObjects().size() < 2) {
        contactsCarried_ = contactsCarried_ || !previousContacts_.empty();
        return;
    }
    if (rebuildGrid_) {
        CollectDynamicObjects();
        RebuildGrid();
        rebuildGrid_ = false;
    }
    // A dynamic object destroyed since the last rebuild leaves the list here, while its body's
    // storage is still held by bodies_.
    std::erase_if(dynamicBodies_, [](RigidBody2D* body) { return body->GetOwner() == nullptr; });
    if (!dynamicBodies_.empty()) {
        Integrate();
        Detect();
        OrderAndResolve();
        SendContactMessages();
    }
    previousContacts_.clear();
    contactsCarried_ = false;
}

void PhysicsSystem::CollectDynamicObjects() {
    dynamicBodies_.clear();
    std::unordered_set<Object*> seen;
    bodies_.Walk([&](RigidBody2D& body) {
        Object* owner = body.GetOwner();
        if (body.IsDynamic() && FindCollider(*owner) && seen.insert(owner).second) {
            dynamicBodies_.push_back(&body);
        }
    });
}

void PhysicsSystem::RebuildGrid() {
    colliders_.Prune();
    std::unordered_set<const PointCollider2D*> dynamic;
    for (RigidBody2D* body : dynamicBodies_) {
        dynamic.insert(FindCollider(*body->GetOwner()));
    }
    grid_.Rebuild(colliders_.Items(),
                  [&](const PointCollider2D& c) { return dynamic.contains(&c); });
}

void PhysicsSystem::Integrate() {
    for (RigidBody2D* body : dynamicBodies_) {
        Object* owner = body->GetOwner();
        body->Update();
        if (PointCollider2D* collider = FindCollider(*owner)) {
            collider->Update();
        }
    }
}

void PhysicsSystem::TestPair(const PointCollider2D& a, const PointCollider2D& b) {
    Object* ownerA = a.GetOwner();
    Object* ownerB = b.GetOwner();
    // An object with two colliders never contacts itself.
    if (ownerA == ownerB || !Collide(a, b)) {
        return;
    }
    if (currentKeys_.insert(KeyOf(ownerA, ownerB)).second) {
        currentPairs_.push_back({ownerA, ownerB});
    }
}

void PhysicsSystem::Detect() {
    currentPairs_.clear();
    currentKeys_.clear();
    dynamicColliders_.clear();
    for (RigidBody2D* body : dynamicBodies_) {
        PointCollider2D* collider = FindCollider(*body->GetOwner());
        dynamicColliders_.push_back(collider && collider->GetOwner() ? collider : nullptr);
    }
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
    order_.Build(
        currentPairs_,
        [](Object* o) {
            const RigidBody2D* body = BodyOf(o);
            return body && body->state == 0;
        },
        walk_);
    // The leading run holds the contacts with a static body: deepest first.
    const auto bothMoving = [](const ObjectPair& p) {
        const RigidBody2D* a = BodyOf(p.a);
        const RigidBody2D* b = BodyOf(p.b);
        return a && b && a->state != 0 && b->state != 0;
    };
    const auto runEnd = std::find_if(walk_.begin(), walk_.end(), bothMoving);
    const auto runLength = static_cast<std::size_t>(runEnd - walk_.begin());
    std::vector<std::pair<float, ObjectPair>> run;
    run.reserve(runLength);
    for (std::size_t k = 0; k < runLength; ++k) {
        const ObjectPair& p = walk_[k];
        Vector2D mtv;
        const PointCollider2D* ca = FindCollider(*p.a);
        const PointCollider2D* cb = FindCollider(*p.b);
        if (ca && cb) {
            Collide(*ca, *cb, &mtv);
        }
        run.emplace_back(mtv.SquaredLength(), p);
    }
    std::stable_sort(run.begin(), run.end(),
                     [](const auto& x, const auto& y) { return x.first > y.first; });
    for (std::size_t k = 0; k < runLength; ++k) {
        walk_[k] = run[k].second;
    }

    const auto resolveUnlessHollow = [&](const ObjectPair& p) {
        const PointCollider2D* ca = FindCollider(*p.a);
        const PointCollider2D* cb = FindCollider(*p.b);
        if (ca && cb && !ca->IsHollow() && !cb->IsHollow()) {
            Resolve(p.a, p.b);
        }
    };
    std::for_each(walk_.begin(), walk_.end(), resolveUnlessHollow);
    std::for_each(walk_.rbegin(), walk_.rend(), resolveUnlessHollow);
}

void PhysicsSystem::Resolve(Object* a, Object* b) {
    PointCollider2D* ca = FindCollider(*a);
    PointCollider2D* cb = FindCollider(*b);
    Vector2D mtv;
    if (!Collide(*ca, *cb, &mtv)) {
        return;
    }
    RigidBody2D* bodyA = BodyOf(a);
    RigidBody2D* bodyB = BodyOf(b);
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
    Transform2D& ta = a->GetTransform();
    Transform2D& tb = b->GetTransform();
    ta.SetPosition(ta.GetPosition() - mtv * r);
    tb.SetPosition(tb.GetPosition() + mtv * (1.0f - r));
    ca->Update();
    cb->Update();
}

void PhysicsSystem::ForgetDestroyedContacts() {
    const auto& live = LevelObjects();
    const std::unordered_set<const Object*> alive(live.begin(), live.end());
    std::erase_if(previousContacts_, [&](const ContactRecord& c) {
        return !alive.contains(c.a) || !alive.contains(c.b);
    });
}

void PhysicsSystem::SendContactMessages() {
    if (contactsCarried_) {
        ForgetDestroyedContacts();
    }
    std::unordered_map<PairKey, int, PairKeyHash> previous;
    for (const ContactRecord& c : previousContacts_) {
        ++previous[KeyOf(c.a, c.b)];
    }
    for (const ObjectPair& p : currentPairs_) {
        if (previousContacts_.empty()) {
            MessagingSystem::Send<CollisionMessage>(CollisionKind::Began, p.a, p.b);
            continue;
        }
        const auto found = previous.find(KeyOf(p.a, p.b));
        if (found == previous.end()) {
            MessagingSystem::Send<CollisionMessage>(CollisionKind::Began, p.a, p.b);
            continue;
        }
        for (int k = 0; k < found->second; ++k) {
            MessagingSystem::Send<CollisionMessage>(CollisionKind::Continues, p.a, p.b);
        }
    }
    for (const ContactRecord& c : previousContacts_) {
        if (!currentKeys_.contains(KeyOf(c.a, c.b))) {
            MessagingSystem::Send<CollisionMessage>(CollisionKind::Ended, c.a, c.b);
        }
    }
    lastPairs_.swap(currentPairs_);
    currentPairs_.clear();
}
