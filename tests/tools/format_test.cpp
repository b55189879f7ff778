#include <gtest/gtest.h>

#include <functional>

#include "data/object_record.h"
#include "data/room_record.h"
#include "data/small_records.h"
#include "layout.h"
#include "script.h"
#include "text_codec.h"
#include "toml_in.h"
#include "toml_out.h"

namespace zk::tools {
namespace {

TEST(TextCodec, EveryByteSurvivesUtf8AndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    auto back = toRecordText(fromRecordText(all));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
    std::string bad;
    EXPECT_FALSE(toRecordText("snow \xE2\x98\x83", &bad).has_value());  // U+2603
    EXPECT_EQ(bad, "\xE2\x98\x83");
    EXPECT_EQ(*toRecordText("\xE2\x82\xAC"), "\x80");  // the euro sign
}

TEST(TomlOut, StringsComeBackThroughTheParser) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    TomlOut out;
    out.text("value", fromRecordText(all));
    out.block("script", "line 'one'\n  two \\ \"three\"\n");
    toml::table t = toml::parse(out.str());
    EXPECT_EQ(*toRecordText(t["value"].value<std::string>().value()), all);
    EXPECT_EQ(t["script"].value<std::string>().value(), "line 'one'\n  two \\ \"three\"\n");
}

// Parses a script into the 20 commands of an event and back, as the tools do.
struct Script {
    std::vector<uint8_t> commands = std::vector<uint8_t>(kCommandBytes * kCommandCount, 0);
    Diagnostics diag;
    std::string self = "door";
    explicit Script(const std::string& text, int firstLine = 10) {
        parseScript(text, firstLine, "x.toml", "", commands, self, diag);
    }
    ConstCommandView command(int k) const {
        return ConstCommandView(
            std::span<const uint8_t>(commands).subspan(kCommandBytes * size_t(k)));
    }
    std::string messages() const {
        std::string m;
        for (const auto& d : diag.all()) m += d.text() + "\n";
        return m;
    }
};

TEST(ScriptLines, PositionalNamedQuotedAndCommentedParameters) {
    Script s(
        "  walkto hero <left> 10 -20 wait=1   # comment\r\n"
        "\n"
        "showhint <self> text=\"a # b = c\" wait=true\n"
        ".\n"
        "!\"my verb\" p1=\"\" num4=7 self=other\n"
        "changeroom \"hall 2\" \"\"\n");
    ASSERT_FALSE(s.diag.hasErrors()) << s.messages();
    EXPECT_EQ(s.command(0).verb(), "walkto");
    EXPECT_EQ(s.command(0).p4(), "<left>");
    EXPECT_EQ(s.command(0).num2(), -20);
    EXPECT_EQ(s.command(0).num3(), 1);
    EXPECT_EQ(s.command(1).text(), "a # b = c");
    EXPECT_EQ(s.command(1).p2(), "true");
    EXPECT_TRUE(s.command(2).verb().empty());  // "." keeps the place
    EXPECT_EQ(s.command(3).verb(), "my verb");
    EXPECT_EQ(s.command(3).num4(), 7);
    EXPECT_EQ(s.command(3).self(), "other");
    EXPECT_EQ(s.command(4).p1(), "hall 2");
    EXPECT_EQ(s.command(4).self(), "door");
    EXPECT_EQ(s.command(19).self(), "door");  // every command names its owner
}

TEST(ScriptLines, FormattingGivesTheSameCommandsBack) {
    std::vector<uint8_t> commands(kCommandBytes * kCommandCount, 0);
    const std::vector<std::string> values = {"",
                                             ".",
                                             "#x",
                                             "!x",
                                             "a=b",
                                             "two words",
                                             "it's",
                                             "''",
                                             "tab\there",
                                             "q\"uote",
                                             "back\\slash",
                                             "\x81\x8D\x8F\x90\x9D",
                                             "\x80\xE9\xFF",
                                             "\x01\x1F\x7F",
                                             "<self>"};
    for (int k = 0; k < kCommandCount; ++k) {
        CommandView c(std::span<uint8_t>(commands).subspan(kCommandBytes * size_t(k)));
        c.setVerb(k % 3 == 0 ? "showhint" : k % 3 == 1 ? "addobj" : "");
        c.setP1(values[size_t(k) % values.size()]);
        c.setP3(values[size_t(k + 5) % values.size()]);
        c.setText(values[size_t(k + 9) % values.size()]);
        c.setNum2(k * 1000 - 9000);
        c.setSelf(k == 4 ? "someone" : "door");
    }
    const std::string text = formatScript(commands, "door");
    Script again(text);
    ASSERT_FALSE(again.diag.hasErrors()) << again.messages() << text;
    EXPECT_EQ(again.commands, commands) << text;
}

TEST(ScriptLines, EveryVerbTakesItsParametersInTheirFields) {
    for (const ScriptVerb& verb : kScriptVerbs) {
        std::string line(verb.name);
        for (size_t i = 0; i < verb.params().size(); ++i) {
            const Field& f = *findField(commandFields(), verb.params()[i].field);
            line +=
                " " + (f.type == FieldType::Text ? "w" + std::to_string(i) : std::to_string(i + 1));
        }
        Script s(line + "\n");
        ASSERT_FALSE(s.diag.hasErrors()) << s.messages();
        for (size_t i = 0; i < verb.params().size(); ++i) {
            const Field& f = *findField(commandFields(), verb.params()[i].field);
            if (f.type == FieldType::Text)
                EXPECT_EQ(getText(f, s.command(0).bytes()), "w" + std::to_string(i)) << line;
            else
                EXPECT_EQ(getNumber(f, s.command(0).bytes()), int64_t(i + 1)) << line;
        }
        EXPECT_EQ(formatScript(s.commands, s.self), line + "\n");
    }
}

TEST(ScriptLines, MistakesNameTheirLine) {
    Script s(
        "sleep 100 200\n"
        "walkto hero x=1 x=2\n"
        "walkto x=1 hero\n"
        "showhint <self> false \"unterminated\n"
        "sleep 99999\n",
        7);
    const std::string m = s.messages();
    EXPECT_NE(m.find("x.toml:7: 'sleep' takes 1 parameter; '200' is one too many"),
              std::string::npos)
        << m;
    EXPECT_NE(m.find("x.toml:8: parameter 'x' is given twice"), std::string::npos) << m;
    EXPECT_NE(m.find("x.toml:9: positional parameter 'hero' after a named one"), std::string::npos)
        << m;
    EXPECT_NE(m.find("x.toml:10: a quote is not closed"), std::string::npos) << m;
    EXPECT_NE(m.find("x.toml:11: ms is 99999; it must lie in -32768..32767"), std::string::npos)
        << m;
}

// The field tables must name the same bytes as the engine's record accessors.
template <typename Record>
void expectTableMatchesAccessors(
    const Layout& layout,
    const std::map<std::string, std::function<int64_t(const Record&)>>& numbers,
    const std::map<std::string, std::function<std::string(const Record&)>>& texts) {
    int value = 1;
    for (const Field& f : layout.fields) {
        if (f.count != 1) continue;
        SCOPED_TRACE(std::string(f.key));
        Record r;
        if (f.type == FieldType::Text) {
            const std::string v = "v" + std::to_string(value++);
            setText(f, r.bytes(), v);
            ASSERT_TRUE(texts.count(std::string(f.key)));
            EXPECT_EQ(texts.at(std::string(f.key))(r), v);
        } else {
            const int64_t v = (value++ % 100) + 1;
            setNumber(f, r.bytes(), v);
            ASSERT_TRUE(numbers.count(std::string(f.key)));
            EXPECT_EQ(numbers.at(std::string(f.key))(r), v);
        }
    }
}

#define N(name)                                                  \
    {                                                            \
#name, [](const auto& r) -> int64_t { return r.name(); } \
    }
#define T(name)                                                      \
    {                                                                \
#name, [](const auto& r) -> std::string { return r.name(); } \
    }

TEST(Layouts, FieldTablesMatchTheRecordAccessors) {
    expectTableMatchesAccessors<ObjectRecord>(
        objectLayout(),
        {N(hidden),      N(animating),   N(active),      N(fixedDepth),  N(inParty),
         N(perspective), N(scale),       N(depth),       N(depthBehind), N(depthInFront),
         N(frameDelay),  N(alpha),       N(frame),       N(frameTicks),  N(baseLineOffset),
         N(hintTimer),   N(minScale),    N(maxScale),    N(walkStep),    N(x),
         N(y),           N(textAnchorX), N(textAnchorY), N(anchorX),     N(anchorY),
         N(cursorHotX),  N(cursorHotY)},
        {T(name), T(kind), T(displayNameKey), T(displayName), T(imageFolder), T(spriteFile),
         T(iconFile), T(spareSprite), T(walkLeftSprite), T(walkRightSprite), T(walkUpSprite),
         T(walkDownSprite), T(standUpSprite), T(standDownSprite), T(standLeftSprite),
         T(standRightSprite), T(hoverCursor), T(clickMaskFile)});
    expectTableMatchesAccessors<StoredRoomRecord>(
        roomLayout(),
        {N(isGameRoom), N(cursorVisible), N(minScaleRow), N(maxScaleRow), N(minScale), N(maxScale)},
        {T(name), T(titleKey), T(background), T(maskFile), T(music), T(weather)});
    expectTableMatchesAccessors<PreferencesRecord>(
        preferencesLayout(),
        {N(displayWidth), N(displayHeight), N(language), N(musicVolume), N(startFullScreen),
         N(musicEnabled), N(showObjectTexts), N(showZoneHints), N(walkToPickUp)},
        {T(title), T(mainCharacterName), T(startCursor), T(startRoomOverride), T(dialogImages)});
    expectTableMatchesAccessors<InventoryRecord>(
        inventoryLayout(),
        {N(barX), N(barY), N(sceneOffsetX), N(sceneOffsetY), N(showStatus), N(showRoomTitle)}, {});
    expectTableMatchesAccessors<CursorRecord>(cursorLayout(), {N(hotX), N(hotY), N(frameDelay)},
                                              {T(name)});

    // Sub-records and arrays, spot by spot.
    StoredRoomRecord room;
    const SubTable& zones = roomLayout().tables[1];
    setText(*findField(zones.fields, "targetEntrance"),
            room.bytes().subspan(zones.base + zones.size * 3), "gate");
    setNumber(*findField(zones.fields, "walkY"), room.bytes().subspan(zones.base + zones.size * 3),
              77);
    EXPECT_EQ(room.zone(3).targetEntrance(), "gate");
    EXPECT_EQ(room.zone(3).walkY(), 77);
    ObjectRecord o;
    setNumber(*findField(objectLayout().fields, "numVars"), o.bytes(), -5, 4);
    setText(*findField(objectLayout().fields, "textVars"), o.bytes(), "t", 3);
    EXPECT_EQ(o.numVar(4), -5);
    EXPECT_EQ(o.textVar(3), "t");
    const SubTable& events = objectLayout().tables[0];
    setNumber(*findField(events.fields, "period"), o.bytes().subspan(events.base + events.size * 9),
              250);
    EXPECT_EQ(o.event(9).period(), 250);
    const Field& self = *findField(commandFields(), "self");
    setText(self,
            o.bytes().subspan(events.base + events.size * 2 + kScriptOffset + kCommandBytes * 19),
            "me");
    EXPECT_EQ(o.event(2).command(19).self(), "me");
    InventoryRecord inv;
    setNumber(*findField(inventoryLayout().fields, "statusPositions"), inv.bytes(), 9, 7);
    EXPECT_EQ(inv.statusY(3), 9);
}

#undef N
#undef T

}  // namespace
}  // namespace zk::tools
