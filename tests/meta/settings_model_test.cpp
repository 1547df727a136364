// Random sequences of a player's changes to the settings, with relaunches between them, against a
// model of what must hold: after any sequence the live settings, and those read back at the next
// launch, are the ones the player chose, bindings included.
#include <gtest/gtest.h>
// After GoogleTest, which it extends.
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "input/bindings.h"
#include "meta/settings.h"

namespace {

namespace fs = std::filesystem;

struct SavedSettings {
    fs::path file;
};
using Step = rc::state::Command<Settings, SavedSettings>;

// A change the options page makes through the keeper: the live settings are the model's after it.
struct ChangeASetting : Step {
    void run(const Settings& model, SavedSettings&) const override {
        SettingsKeeper::Change([this](Settings& settings) { apply(settings); });
        Settings expected = model;
        apply(expected);
        RC_ASSERT(SettingsKeeper::Current() == expected);
    }
};

struct StepAVolume : ChangeASetting {
    bool music = *rc::gen::arbitrary<bool>();
    int steps = *rc::gen::inRange(-4, 5);
    void apply(Settings& model) const override {
        int& volume = music ? model.musicVolume : model.effectsVolume;
        volume = StepVolume(volume, steps);
    }
};

struct FlipASwitch : ChangeASetting {
    int which = *rc::gen::inRange(0, 5);
    void apply(Settings& model) const override {
        bool* switches[] = {&model.musicOff, &model.soundOff, &model.fullScreen,
                            &model.verticalSync, &model.showTimer};
        *switches[which] = !*switches[which];
    }
};

// What the controls page does: an action's key or pad button taken (swapping with the action
// that had it, or refused), or every binding reset. No key or button ever serves two actions.
struct RebindAnAction : Step {
    Bindings::Action action =
        static_cast<Bindings::Action>(*rc::gen::inRange(0, Bindings::kActionCount));
    int kind = *rc::gen::inRange(0, 3);
    int key = *rc::gen::inRange(1, 256);
    std::uint16_t button = static_cast<std::uint16_t>(1u << *rc::gen::inRange(0, 16));
    void apply(Settings& model) const override {
        Bindings::Table table = Bindings::FromSettings(model);
        if (kind == 0) {
            Bindings::BindKey(table, action, key);
        } else if (kind == 1) {
            Bindings::BindPad(table, action, button);
        } else {
            table = Bindings::Defaults();
        }
        Bindings::ToSettings(table, model);
    }
    void run(const Settings& model, SavedSettings&) const override {
        if (kind == 0) {
            Bindings::Rebind(action, key);
        } else if (kind == 1) {
            Bindings::RebindPad(action, button);
        } else {
            Bindings::ResetToDefaults();
        }
        Settings expected = model;
        apply(expected);
        RC_ASSERT(SettingsKeeper::Current() == expected);
        std::set<int> keys;
        std::set<std::uint16_t> buttons;
        for (const Bindings::Binding& binding : Bindings::Current()) {
            for (int bound : binding.keys) {
                RC_ASSERT(bound == 0 || keys.insert(bound).second);
            }
            RC_ASSERT(binding.pad == 0 || buttons.insert(binding.pad).second);
        }
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
        12, rc::state::gen::commands(
                Settings{}, rc::state::gen::execOneOfWithArgs<StepAVolume, FlipASwitch,
                                                              RebindAnAction, Relaunch>()));
    rc::state::runAll(steps, Settings{}, saved);
    SettingsKeeper::Disable();
    fs::remove_all(folder);
}

}  // namespace
