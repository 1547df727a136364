// Random sequences of a player's changes to the settings, with relaunches between them, against a
// model of what must hold: after any sequence the live settings, and those read back at the next
// launch, are the ones the player chose.
#include <gtest/gtest.h>
// After GoogleTest, which it extends.
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>
#include <unistd.h>

#include <filesystem>

#include "meta/settings.h"

namespace {

namespace fs = std::filesystem;

struct SavedSettings {
    fs::path file;
};
using Step = rc::state::Command<Settings, SavedSettings>;

struct StepAVolume : Step {
    bool music = *rc::gen::arbitrary<bool>();
    int steps = *rc::gen::inRange(-4, 5);
    void apply(Settings& model) const override {
        int& volume = music ? model.musicVolume : model.effectsVolume;
        volume = StepVolume(volume, steps);
    }
    void run(const Settings& model, SavedSettings&) const override {
        SettingsKeeper::Change([this](Settings& settings) { apply(settings); });
        Settings expected = model;
        apply(expected);
        RC_ASSERT(SettingsKeeper::Current() == expected);
    }
};

struct FlipASwitch : Step {
    int which = *rc::gen::inRange(0, 5);
    void apply(Settings& model) const override {
        bool* switches[] = {&model.musicOff, &model.soundOff, &model.fullScreen,
                            &model.verticalSync, &model.showTimer};
        *switches[which] = !*switches[which];
    }
    void run(const Settings& model, SavedSettings&) const override {
        SettingsKeeper::Change([this](Settings& settings) { apply(settings); });
        Settings expected = model;
        apply(expected);
        RC_ASSERT(SettingsKeeper::Current() == expected);
    }
};

struct Relaunch : Step {
    void run(const Settings& model, SavedSettings& saved) const override {
        SettingsKeeper::Disable();
        SettingsKeeper::Enable(saved.file);
        RC_ASSERT(SettingsKeeper::Current() == model);
    }
};

RC_GTEST_PROP(SettingsModel, WhatThePlayerChoseIsWhatTheNextLaunchReads, ()) {
    const fs::path folder =
        fs::temp_directory_path() / ("vorl-settings-model-" + std::to_string(getpid()));
    fs::remove_all(folder);
    SavedSettings saved{folder / "vorl" / "settings"};
    SettingsKeeper::Enable(saved.file);
    // Short sequences: every change is a real, flushed save.
    const auto steps = *rc::gen::resize(
        12,
        rc::state::gen::commands(
            Settings{}, rc::state::gen::execOneOfWithArgs<StepAVolume, FlipASwitch, Relaunch>()));
    rc::state::runAll(steps, Settings{}, saved);
    SettingsKeeper::Disable();
    fs::remove_all(folder);
}

}  // namespace
