#include "audio/event_bank.h"

#include <gtest/gtest.h>

#include "support/asset_folder.h"

namespace {

TEST(EventBank, LinesAreReadWithTheirOptionsAndMalformedOnesNamedByFileAndLine) {
    const std::string text =
        "# a comment line\n"
        "SFX/Jump oneshot 0.5 jump.ogg\n"
        "SFX/NoFile loop 0.5\n"
        "SFX/BadMode sometimes 0.5 a.ogg\n"
        "SFX/Loud oneshot 1.5 a.ogg\n"
        "SFX/Jump oneshot 0.5 again.ogg\n"
        "Music/Layers loop 0.6 a.ogg b.ogg StateChange: 0=1/0 0.1=1\n"
        "Music/Theme loop 0.6 a.ogg b.ogg StateChange: start=0.2 fade=3 0=1/0 0.2=0.5/1\n"
        "SFX/Fan loop 0.5 fan.ogg fade=0.15 space=world\n"
        "Music/Sections loop 0.6 a.ogg b.ogg fade=0.3 bar=2.4 Mood: start=0 0=1/0 1=1/1@19.2\n"
        "SFX/Bad1 loop 0.5 a.ogg space=sky\n"
        "SFX/Bad2 loop 0.5 a.ogg loud=3\n"
        "SFX/Bad3 loop 0.5 a.ogg fade=-1\n"
        "Music/Bad4 loop 0.5 a.ogg Mood: 0=1@soon\n";
    testing_support::CapturedDiagnostics diagnostics;
    const std::vector<EventDescription> events = ParseEventBank(text, "SoundBank");

    const int faultyLines[] = {3, 4, 5, 6, 7, 11, 12, 13, 14};
    ASSERT_EQ(diagnostics.Lines().size(), std::size(faultyLines));
    for (std::size_t i = 0; i < std::size(faultyLines); ++i) {
        const std::string where = "SoundBank:" + std::to_string(faultyLines[i]) + ":";
        EXPECT_EQ(diagnostics.Lines()[i].rfind(where, 0), 0u) << diagnostics.Lines()[i];
    }
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].path, "SFX/Jump");
    EXPECT_TRUE(events[0].oneShot);
    EXPECT_EQ(events[0].files, std::vector<std::string>{"jump.ogg"});
    EXPECT_FLOAT_EQ(events[0].fadeSeconds, 0.05f) << "a few milliseconds unless given";
    EXPECT_FALSE(events[0].world);

    const EventDescription& theme = events[1];
    EXPECT_FALSE(theme.oneShot);
    const EventParameter* state = theme.FindParameter("StateChange");
    ASSERT_NE(state, nullptr);
    EXPECT_FLOAT_EQ(state->start, 0.2f);
    EXPECT_FLOAT_EQ(state->fadeSeconds, 3.0f);
    // A value between two states takes the nearer one, as the float steps of the music need.
    EXPECT_EQ(state->StateNearest(0.19999f).layerGains, (std::vector<float>{0.5f, 1.0f}));
    EXPECT_EQ(state->StateNearest(0.05f).layerGains, (std::vector<float>{1.0f, 0.0f}));

    EXPECT_EQ(events[2].files, std::vector<std::string>{"fan.ogg"});
    EXPECT_FLOAT_EQ(events[2].fadeSeconds, 0.15f);
    EXPECT_TRUE(events[2].world);

    const EventDescription& sections = events[3];
    EXPECT_EQ(sections.files.size(), 2u);
    EXPECT_FALSE(sections.world);
    EXPECT_FLOAT_EQ(sections.barSeconds, 2.4f);
    const EventParameter& mood = *sections.FindParameter("Mood");
    EXPECT_FALSE(mood.StateNearest(0.0f).sectionSeconds.has_value());
    EXPECT_FLOAT_EQ(*mood.StateNearest(1.0f).sectionSeconds, 19.2f);
}

}  // namespace
