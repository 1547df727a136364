#include "audio/audio_component.h"

#include "core/messaging.h"

VORL_REGISTER_SAVED_COMPONENT(AudioComponent) {
    VORL_MEMBERS(meta, Event, Playing);
}

void AudioComponent::Update() {
    HandleMessages();
    MessagingSystem::Send<AttachSoundMessage>(Event, owner);
    if (Playing != 0) {
        MessagingSystem::Send<PlaySoundMessage>(Event);
        Playing = 0;
    }
}

void AudioComponent::OnDestroy() {
    MessagingSystem::Send<StopSoundMessage>(Event);
}
