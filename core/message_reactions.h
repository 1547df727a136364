// MessageReactions: the one way a system reads its messages. A system files one reaction per
// message type when it is built, then calls ReactToQueue() once per frame (from HandleMessages):
// the whole read queue is walked in sending order and each message runs the reaction filed for its
// type; types without one are passed over.
//
//   reactions_.On<CollisionMessage>([this](const CollisionMessage& m) { ... })
//             .On({MessageType::TogglePause, MessageType::DeviceLostToggle}, [this] { ... });
//
// Reactions usually capture their system, so the table is neither copied nor moved. A type is
// filed once; filing it again is a programmer's mistake.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include "core/check.h"
#include "core/messaging.h"

class MessageReactions {
public:
    MessageReactions() = default;
    MessageReactions(const MessageReactions&) = delete;
    MessageReactions& operator=(const MessageReactions&) = delete;

    // The reaction to every message of payload type M, given the payload.
    template <class M, class React>
    MessageReactions& On(React react) {
        File(M::kType, [react = std::move(react)](const Message& message) {
            react(static_cast<const M&>(message));
        });
        return *this;
    }
    // One reaction, without payload, to each of `types`.
    MessageReactions& On(std::initializer_list<MessageType> types, std::function<void()> react) {
        for (MessageType type : types) {
            File(type, [react](const Message&) { react(); });
        }
        return *this;
    }

    void ReactTo(const MessagingSystem::Queue& queue) const {
        for (const auto& message : queue) {
            const auto slot = static_cast<std::size_t>(message->type);
            if (slot < reactions_.size() && reactions_[slot]) {
                reactions_[slot](*message);
            }
        }
    }
    // This frame's messages: the ones sent during the previous frame.
    void ReactToQueue() const { ReactTo(MessagingSystem::GetMessages()); }

private:
    void File(MessageType type, std::function<void(const Message&)> react) {
        const auto slot = static_cast<std::size_t>(type);
        if (slot >= reactions_.size()) {
            reactions_.resize(slot + 1);
        }
        // A second reaction to the same type would silently replace the first; the first stays.
        if (VORL_CHECK(!reactions_[slot], "a message type has one reaction per system")) {
            reactions_[slot] = std::move(react);
        }
    }

    // Indexed by type number; the numbers are small and dense.
    std::vector<std::function<void(const Message&)>> reactions_;
};
