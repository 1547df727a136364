// Pieces read their contacts through one helper: each contact of the frame before that names the
// piece, in sending order, with its kind and the other object.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "objects/object.h"

namespace {

TEST(Contacts, APieceHearsEveryKindOfItsOwnContactsOnlyInSendingOrder) {
    Object piece;
    Object player;
    Object crate;
    struct Sent {
        CollisionKind kind;
        Object* a;
        Object* b;
    };
    const std::vector<Sent> sent = {
        {CollisionKind::Began, &piece, &player},     {CollisionKind::Continues, &crate, &player},
        {CollisionKind::Continues, &player, &piece}, {CollisionKind::Began, &crate, &piece},
        {CollisionKind::Ended, &piece, &player},
    };
    using Heard = std::pair<CollisionKind, const Object*>;
    const std::vector<Heard> expected = {
        {CollisionKind::Began, &player},
        {CollisionKind::Continues, &player},
        {CollisionKind::Began, &crate},
        {CollisionKind::Ended, &player},
    };

    MessagingSystem::Reset();
    for (const Sent& s : sent) {
        MessagingSystem::Send<CollisionMessage>(s.kind, s.a, s.b);
    }
    MessagingSystem::Send<PlayerFormChangedMessage>(true);  // not a contact
    MessagingSystem::Update();

    std::vector<Heard> heard;
    gameplay::ForEachContact(
        &piece, [&](CollisionKind kind, const Object& other) { heard.emplace_back(kind, &other); });
    EXPECT_EQ(heard, expected);

    std::vector<const Object*> begun;
    gameplay::ForEachContactBegun(&piece, [&](Object& other) { begun.push_back(&other); });
    EXPECT_EQ(begun, (std::vector<const Object*>{&player, &crate}));
    MessagingSystem::Reset();
}

}  // namespace
