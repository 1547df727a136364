// Random runs of the game against its progress file: levels played, stars found, mute switches,
// relaunches, files damaged between runs (a flipped byte, a cut end) and lines written by a newer
// version. A small model says what the file must hold; after every step the file, the keeper and
// every file moved aside must agree with it. A failing run prints its seed and shrunk steps.
#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>

#include "core/name_table.h"
#include "gameplay/progress.h"
#include "gameplay/run_state.h"
#include "support/asset_folder.h"
#include "support/headless_engine.h"

namespace {

namespace fs = std::filesystem;

struct Model {
    // What the running game holds.
    Progress game;
    // What the file must read as, and its bytes; nothing when there is no file. A damaged file
    // has bytes that must not be read.
    std::optional<Progress> disk;
    std::optional<std::string> bytes;
    bool damaged = false;
    // Saves wait for the player to see the notice of a damaged file.
    bool held = false;
    bool pending = false;
    // The bytes of every file moved aside.
    std::multiset<std::string> aside;

    void Save() {
        disk = game;
        bytes = ProgressFile::Format(game);
    }
    void Changed() {
        if (held) {
            pending = true;
        } else {
            Save();
        }
    }
    void Launch() {
        held = pending = false;
        game = {};
        if (damaged) {
            aside.insert(*bytes);
            bytes.reset();
            disk.reset();
            damaged = false;
            held = true;
        } else if (disk) {
            game = *disk;
        }
    }
};

struct Sut {
    fs::path folder;
    fs::path file;
    testing_support::CapturedDiagnostics diagnostics;

    std::string Bytes(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void Launch() {
        ProgressKeeper::Disable();
        ProgressKeeper::Enable(file);
    }
    // Between runs the file's bytes become `change` of them; then the next launch.
    void Relaunch(const std::function<std::string(std::string)>& change) {
        ProgressKeeper::Disable();
        const std::string bytes = change(Bytes(file));
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        Launch();
    }
};

void CheckAgreement(const Model& model, const Sut& sut) {
    RC_ASSERT(ProgressKeeper::Current() == model.game);
    // The notice names the file kept aside.
    RC_ASSERT((ProgressKeeper::Notice().find("progress.unreadable-") != std::string::npos) ==
              model.held);
    if (model.bytes) {
        RC_ASSERT(sut.Bytes(sut.file) == *model.bytes);
        RC_ASSERT(ProgressFile::Parse(*model.bytes) == model.disk);
    } else {
        RC_ASSERT(!fs::exists(sut.file));
    }
    std::multiset<std::string> aside;
    for (const auto& entry : fs::directory_iterator(sut.folder)) {
        const std::string name = entry.path().filename().string();
        if (name != ProgressFile::kFileName) {
            RC_ASSERT(name.starts_with("progress.unreadable-"));
            aside.insert(sut.Bytes(entry.path()));
        }
    }
    RC_ASSERT(aside == model.aside);
}

// A step of the game: done, then the model's own step, after which the two must agree.
struct Step : rc::state::Command<Model, Sut> {
    virtual void Do(Sut& sut) const = 0;
    void run(const Model& model, Sut& sut) const override {
        Do(sut);
        Model next = model;
        apply(next);
        CheckAgreement(next, sut);
    }
};

struct Launch : Step {
    void apply(Model& model) const override { model.Launch(); }
    void Do(Sut& sut) const override { sut.Launch(); }
    void show(std::ostream& os) const override { os << "launch"; }
};

// Plays `level`, setting the mute switches on the way, and leaves it for the controller screen
// with `found` stars.
struct Play : Step {
    std::int32_t level = *rc::gen::inRange(2, Progress::kLevels);
    std::int32_t found = *rc::gen::inRange(0, 4);
    bool music = *rc::gen::arbitrary<bool>();
    bool sound = *rc::gen::arbitrary<bool>();
    void apply(Model& model) const override {
        Progress& game = model.game;
        const Progress before = game;
        std::int32_t& best = game.stars[static_cast<std::size_t>(level)];
        best = std::max(best, found);
        game.furthestLevel = std::max(game.furthestLevel, level);
        game.musicOff = music;
        game.soundOff = sound;
        if (!(game == before)) {
            model.Changed();
        }
    }
    void Do(Sut&) const override {
        ProgressKeeper::LevelStarted(level, 0);
        ProgressKeeper::MuteSwitchesChanged(music, sound);
        ProgressKeeper::LevelStarted(1, found);
    }
    void show(std::ostream& os) const override {
        os << "play level " << level << " finding " << found << ", music off " << music
           << " sound off " << sound;
    }
};

// Plays `level`, takes the stars of `taken` and reaches its goal in `steps`, then leaves it.
struct Win : Step {
    std::int32_t level = *rc::gen::inRange(2, Progress::kLevels);
    std::uint32_t taken = *rc::gen::inRange(0u, 8u);
    std::int64_t steps = *rc::gen::inRange<std::int64_t>(1, 5000);
    void apply(Model& model) const override {
        const auto at = static_cast<std::size_t>(level);
        Progress& game = model.game;
        const Progress before = game;
        game.found[at] |= taken;
        game.stars[at] = std::max(game.stars[at], std::popcount(game.found[at]));
        game.furthestLevel = std::max(game.furthestLevel, level);
        if (game.bestSteps[at] == 0 || steps < game.bestSteps[at]) {
            game.bestSteps[at] = steps;
        }
        if (!(game == before)) {
            model.Changed();
        }
    }
    void Do(Sut&) const override {
        ProgressKeeper::LevelStarted(level, 0);
        ProgressKeeper::LevelWon(level, steps);
        ProgressKeeper::LevelStarted(1, 0, taken);
    }
    void show(std::ostream& os) const override {
        os << "win level " << level << " taking " << taken << " in " << steps;
    }
};

struct SeeNotice : Step {
    void checkPreconditions(const Model& model) const override { RC_PRE(model.held); }
    void apply(Model& model) const override {
        model.held = false;
        if (model.pending) {
            model.pending = false;
            model.Save();
        }
    }
    void Do(Sut&) const override { ProgressKeeper::NoticeSeen(); }
    void show(std::ostream& os) const override { os << "the notice is seen"; }
};

// Between runs, the file is damaged; the next launch finds it.
struct Damage : Step {
    bool cut = *rc::gen::arbitrary<bool>();
    std::size_t at = *rc::gen::inRange<std::size_t>(0, 400);
    unsigned char flip = *rc::gen::inRange<unsigned char>(1, 255);
    std::string Damaged(std::string bytes) const {
        const std::size_t where = at % bytes.size();
        if (cut) {
            bytes.resize(where);
        } else {
            bytes[where] = static_cast<char>(bytes[where] ^ flip);
        }
        return bytes;
    }
    void checkPreconditions(const Model& model) const override { RC_PRE(model.bytes.has_value()); }
    void apply(Model& model) const override {
        model.bytes = Damaged(*model.bytes);
        model.damaged = true;
        model.Launch();
    }
    void Do(Sut& sut) const override {
        sut.diagnostics.Clear();
        sut.Relaunch([this](std::string bytes) { return Damaged(std::move(bytes)); });
        // One line, naming the file.
        RC_ASSERT(sut.diagnostics.Lines().size() == 1u);
        RC_ASSERT(sut.diagnostics.Contains(sut.file.string()));
    }
    void show(std::ostream& os) const override {
        os << (cut ? "cut the file at " : "flip a byte at ") << at
           << (cut ? "" : " by " + std::to_string(flip));
    }
};

// Between runs, a newer version adds lines of its own (or lines this one cannot use: a level out of
// range, a number that does not fit) and signs the file as it would.
struct NewerVersion : Step {
    std::size_t count = *rc::gen::inRange<std::size_t>(1, 4);
    std::vector<std::string> lines = *rc::gen::container<std::vector<std::string>>(
        count, rc::gen::elementOf(std::vector<std::string>{
                   "timer 123", "stars 30 1", "stars 40", "music maybe", "furthest 4 5",
                   "furthest x", "found 3 -1", "found 3 4294967296", "found 40 1", "best 3 0",
                   "best 4 12 13", "bestrun x"}));
    std::string Rewritten(std::string bytes) const {
        bytes.erase(bytes.rfind("check "));
        bytes.replace(0, bytes.find('\n'), "vorl progress 3");
        for (const std::string& line : lines) {
            bytes += line + "\n";
        }
        char check[9];
        std::snprintf(check, sizeof check, "%08x", Fnv1a(bytes));
        return bytes + "check " + check + "\n";
    }
    void checkPreconditions(const Model& model) const override { RC_PRE(model.bytes.has_value()); }
    void apply(Model& model) const override {
        for (const std::string& line : lines) {
            model.disk->keptLines.push_back(line);
        }
        model.bytes = Rewritten(*model.bytes);
        model.Launch();
    }
    void Do(Sut& sut) const override {
        sut.Relaunch([this](std::string bytes) { return Rewritten(std::move(bytes)); });
    }
    void show(std::ostream& os) const override {
        os << "a newer version adds " << lines.size() << " lines";
    }
};

RC_GTEST_PROP(ProgressProperty, NothingKnownIsLostAndNothingDamagedIsOverwrittenUnseen, ()) {
    static std::atomic<int> run{0};
    Sut sut;
    // In memory where the machine has it: every save is flushed to the disk, and a run makes many.
    const fs::path scratch = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
    sut.folder = scratch /
                 ("vorl-progress-prop-" + std::to_string(::getpid()) + "-" + std::to_string(run++));
    sut.file = sut.folder / ProgressFile::kFileName;
    fs::remove_all(sut.folder);
    fs::create_directories(sut.folder);
    sut.Launch();
    const auto commands = *rc::gen::resize(
        30, rc::state::gen::commands(
                Model{}, rc::state::gen::execOneOfWithArgs<Launch, Play, Play, Win, SeeNotice,
                                                           Damage, NewerVersion>()));
    rc::state::runAll(commands, Model{}, sut);
    ProgressKeeper::Disable();
    BeginNewGame();
    // The keeper announces saved mute switches by message; no engine reads them here.
    testing_support::ResetEngineState();
    fs::remove_all(sut.folder);
}

}  // namespace
