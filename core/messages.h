// Every message the engine sends, with its type number and payload. Messages are the only channel
// between systems and between components of different objects; the numbers are stable because
// recordings, tools and tests name them.
//
// Pointers in a payload are non-owning. A message that carries a pointer reports it through
// CollectReferences so that a destroyed object is never reclaimed while a queued message can
// still reach it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/vector.h"

class Object;
class Component;

enum class MessageType : std::uint32_t {
    ClearLevel = 0,
    LevelStarted = 1,
    ChangeLevel = 2,
    EnterLevelEditor = 3,
    SelectObject = 4,
    TogglePause = 5,
    PlaySound = 8,
    StopSound = 9,
    Collision = 10,
    AttachSound = 11,
    EnterArchetypeEditor = 12,
    RegisterComponent = 14,
    LevelObjectsLoaded = 16,
    ArchetypesLoaded = 17,
    Resume = 19,
    PauseSound = 20,
    DeviceLostToggle = 21,
    AskConfirmation = 24,
    BackToPauseMenu = 25,
    ShowCredits = 26,
    ShowHowToPlay = 27,
    PlayerFormChanged = 28,
    SetEventParameter = 29,
    ToggleMute1 = 30,
    ToggleMute2 = 31,
    RestartSounds = 32,
    StarfallStarted = 33,
    ShowOptions = 34,
    ReturnToPauseMenu = 35,
    DebugCommand = 36,
    ShowLevelSelect = 41,
};

struct Message {
    explicit Message(MessageType t) : type(t) {}
    virtual ~Message() = default;
    // Appends every object or component this message points at.
    virtual void CollectReferences(std::vector<const void*>& /*out*/) const {}

    const MessageType type;
};

// A message with no payload; `Type` fixes its number.
template <MessageType Type>
struct SignalMessage : Message {
    static constexpr MessageType kType = Type;
    SignalMessage() : Message(Type) {}
};

using ClearLevelMessage = SignalMessage<MessageType::ClearLevel>;
using EnterLevelEditorMessage = SignalMessage<MessageType::EnterLevelEditor>;
using TogglePauseMessage = SignalMessage<MessageType::TogglePause>;
using EnterArchetypeEditorMessage = SignalMessage<MessageType::EnterArchetypeEditor>;
using LevelObjectsLoadedMessage = SignalMessage<MessageType::LevelObjectsLoaded>;
using ArchetypesLoadedMessage = SignalMessage<MessageType::ArchetypesLoaded>;
using ResumeMessage = SignalMessage<MessageType::Resume>;
using DeviceLostToggleMessage = SignalMessage<MessageType::DeviceLostToggle>;
using BackToPauseMenuMessage = SignalMessage<MessageType::BackToPauseMenu>;
using ShowCreditsMessage = SignalMessage<MessageType::ShowCredits>;
using ShowHowToPlayMessage = SignalMessage<MessageType::ShowHowToPlay>;
using RestartSoundsMessage = SignalMessage<MessageType::RestartSounds>;
using StarfallStartedMessage = SignalMessage<MessageType::StarfallStarted>;
using ShowOptionsMessage = SignalMessage<MessageType::ShowOptions>;
using ReturnToPauseMenuMessage = SignalMessage<MessageType::ReturnToPauseMenu>;
using ShowLevelSelectMessage = SignalMessage<MessageType::ShowLevelSelect>;

// A message whose payload is one sound event path (below "event:/").
template <MessageType Type>
struct SoundEventMessage : Message {
    static constexpr MessageType kType = Type;
    explicit SoundEventMessage(std::string e) : Message(Type), event(std::move(e)) {}
    std::string event;
};

// A sound to play; a piece of the level gives where it stands, so that the sound is heard from
// there.
struct PlaySoundMessage : Message {
    static constexpr MessageType kType = MessageType::PlaySound;
    explicit PlaySoundMessage(std::string e) : Message(kType), event(std::move(e)) {}
    PlaySoundMessage(std::string e, Vector2D at)
        : Message(kType), event(std::move(e)), position(at) {}
    std::string event;
    std::optional<Vector2D> position;
};

using StopSoundMessage = SoundEventMessage<MessageType::StopSound>;
using PauseSoundMessage = SoundEventMessage<MessageType::PauseSound>;

struct LevelStartedMessage : Message {
    static constexpr MessageType kType = MessageType::LevelStarted;
    explicit LevelStartedMessage(std::string name) : Message(kType), levelName(std::move(name)) {}
    std::string levelName;
};

// target: a level index 0..20, a control code 21..25, or negative for a restart.
struct ChangeLevelMessage : Message {
    static constexpr MessageType kType = MessageType::ChangeLevel;
    explicit ChangeLevelMessage(std::int32_t t) : Message(kType), target(t) {}
    std::int32_t target;
};

struct SelectObjectMessage : Message {
    static constexpr MessageType kType = MessageType::SelectObject;
    SelectObjectMessage(bool transform, bool panel, Object* o)
        : Message(kType), mayTransform(transform), wantsPanel(panel), object(o) {}
    void CollectReferences(std::vector<const void*>& out) const override { out.push_back(object); }
    bool mayTransform;
    bool wantsPanel;
    Object* object;
};

enum class CollisionKind : std::int32_t { Began = 1, Continues = 2, Ended = 3 };

struct CollisionMessage : Message {
    static constexpr MessageType kType = MessageType::Collision;
    CollisionMessage(CollisionKind k, Object* a, Object* b)
        : Message(kType), kind(k), objectA(a), objectB(b) {}
    void CollectReferences(std::vector<const void*>& out) const override {
        out.push_back(objectA);
        out.push_back(objectB);
    }
    // The object this contact pairs with `self`, or null when the message does not name `self`.
    Object* Other(const Object* self) const {
        if (objectA == self) {
            return objectB;
        }
        return objectB == self ? objectA : nullptr;
    }
    CollisionKind kind;
    Object* objectA;
    Object* objectB;
};

struct AttachSoundMessage : Message {
    static constexpr MessageType kType = MessageType::AttachSound;
    AttachSoundMessage(std::string e, Object* s) : Message(kType), event(std::move(e)), source(s) {}
    void CollectReferences(std::vector<const void*>& out) const override { out.push_back(source); }
    std::string event;
    Object* source;
};

enum class ComponentFamily : std::int32_t {
    Physics = 0,
    GameLogic = 1,
    Editor = 2,
    Graphics = 3,
    GUI = 4
};

struct RegisterComponentMessage : Message {
    static constexpr MessageType kType = MessageType::RegisterComponent;
    RegisterComponentMessage(ComponentFamily f, Component* c)
        : Message(kType), family(f), component(c) {}
    void CollectReferences(std::vector<const void*>& out) const override {
        out.push_back(component);
    }
    ComponentFamily family;
    Component* component;
};

// action: 0 = quit the game, 1 = reload the current level, 2 = restart the game.
struct AskConfirmationMessage : Message {
    static constexpr MessageType kType = MessageType::AskConfirmation;
    explicit AskConfirmationMessage(std::int32_t a) : Message(kType), action(a) {}
    std::int32_t action;
};

struct PlayerFormChangedMessage : Message {
    static constexpr MessageType kType = MessageType::PlayerFormChanged;
    explicit PlayerFormChangedMessage(bool full) : Message(kType), isFull(full) {}
    bool isFull;
};

struct SetEventParameterMessage : Message {
    static constexpr MessageType kType = MessageType::SetEventParameter;
    SetEventParameterMessage(std::string e, std::string p, float v)
        : Message(kType), event(std::move(e)), parameter(std::move(p)), value(v) {}
    std::string event;
    std::string parameter;
    float value;
};

template <MessageType Type>
struct MuteToggleMessage : Message {
    static constexpr MessageType kType = Type;
    explicit MuteToggleMessage(bool p) : Message(Type), pressed(p) {}
    bool pressed;
};

using ToggleMute1Message = MuteToggleMessage<MessageType::ToggleMute1>;
using ToggleMute2Message = MuteToggleMessage<MessageType::ToggleMute2>;

// What a debug key asks for; the keys are bound in one table (input/debug_keys.h) and each command
// is carried out by the system it concerns.
enum class DebugCommand : std::int32_t {
    RandomInputOn,
    RandomInputOff,
    ToggleOverlay,
    Screenshot,
    NextLevel,
    PreviousLevel,
    EndLevel,
    EndSkip,
    LevelEditor,
    ArchetypeEditor,
};

struct DebugCommandMessage : Message {
    static constexpr MessageType kType = MessageType::DebugCommand;
    explicit DebugCommandMessage(DebugCommand c) : Message(kType), command(c) {}
    DebugCommand command;
};

// The payload of `message` as T, or null when it is another type.
template <class T>
const T* As(const Message& message) {
    return message.type == T::kType ? static_cast<const T*>(&message) : nullptr;
}
