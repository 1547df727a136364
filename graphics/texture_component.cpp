#include "graphics/texture_component.h"

#include "core/frame_rate_controller.h"
#include "graphics/texture.h"
#include "objects/object.h"

VORL_REGISTER_SAVED_COMPONENT(TextureComponent) {
    // The pointer is listed for the data files' member order but never read from text: loaders
    // give "filename" and object completion resolves it.
    meta.UnnamedMember("animation", &TextureComponent::animation);
    VORL_MEMBERS(meta, filename);
}

Vector2D FrameOffset(unsigned int frame) {
    return {static_cast<float>(frame % 10) / 10.0f, static_cast<float>(frame / 10) / 5.0f};
}

void TextureComponent::SetAnimation(const std::string& name) {
    animation = AnimationTable().Get(name);
    timer = 0.0f;
    if (animation) {
        currentFrame = animation->startFrame;
        filename = name;
        const Vector2D offset = FrameOffset(currentFrame);
        uOffset = offset.x;
        vOffset = offset.y;
        matrixDirty = true;
    }
}

Texture* TextureComponent::GetTexture() const {
    return animation ? animation->texture : nullptr;
}

platform::GpuTexture* TextureComponent::GetImage() const {
    Texture* texture = GetTexture();
    if (!texture) {
        return nullptr;
    }
    FinishLoading(*texture);
    return texture->image;
}

bool TextureComponent::ShowsCurrentFrame() const {
    Texture* texture = GetTexture();
    if (!texture) {
        return true;
    }
    FinishLoading(*texture);
    return !texture->layout.IsPacked() || texture->layout.HasFrame(currentFrame);
}

void TextureComponent::Update() {
    if (!animation) {
        return;
    }
    timer += static_cast<float>(FrameRateController::GetDT());
    // Looked up again only when "filename" was changed under it (the editor writes it): a table
    // lookup for every sprite at every step is a tenth of a big level's step.
    if (animation->name != filename) {
        SetAnimation(filename);
        if (!animation) {
            return;
        }
    }
    const Animation& a = *animation;
    if (a.frameCount > 1 && playing && timer >= a.frameDuration && a.frameDuration != 0.0f) {
        ++currentFrame;
        matrixDirty = true;
        // The excess time is dropped: at most one frame per step, however long the frame was.
        timer = 0.0f;
        if (currentFrame >= a.startFrame + a.frameCount) {
            currentFrame = a.startFrame;
        }
    }
    if (a.frameCount == 1 && currentFrame != a.startFrame) {
        currentFrame = a.startFrame;
        matrixDirty = true;
    }
    const Vector2D offset = FrameOffset(currentFrame);
    uOffset = offset.x;
    vOffset = offset.y;
}

const Matrix4& TextureComponent::TextureMatrix() {
    Texture* texture = GetTexture();
    if (texture && texture->listed) {
        FinishLoading(*texture);
        matrixDirty = true;
    }
    if (matrixDirty) {
        if (texture) {
            textureMatrix = texture->layout.FrameMatrix(currentFrame);
        } else {
            textureMatrix = Matrix4::Identity();
            textureMatrix.m[2][0] = uOffset;
            textureMatrix.m[2][1] = vOffset;
        }
        matrixDirty = false;
    }
    return textureMatrix;
}

void CompleteObjectTexture(Object& object) {
    if (auto* texture = object.Get<TextureComponent>("TextureComponent")) {
        texture->SetAnimation(texture->filename);
    }
}
