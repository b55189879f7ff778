#include "data/game_metadata.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace zk {
namespace {

TEST(GameMetadata, ReadsWhatItWritesAndDefaultsToWindows1252) {
    GameMetadata meta;
    meta.present = true;
    meta.id = "tolvan-2";
    meta.codePage = *CodePage::byNumber(1253);
    meta.voiceLanguage = "el";
    meta.languages = {{"Keys \"as written\"", ""}, {"Ελληνικά", "el"}};
    EXPECT_EQ(parseMetadata(metadataToml(meta)), meta);

    const GameMetadata empty = parseMetadata("# nothing said\nfutureKey = 3\n");
    EXPECT_TRUE(empty.present);
    EXPECT_EQ(empty.codePage.number(), 1252);
    EXPECT_TRUE(empty.id.empty());
    EXPECT_TRUE(empty.languages.empty());
}

TEST(GameMetadata, DamagedFilesNameTheMemberAndLine) {
    struct Case {
        const char* text;
        const char* says;
    } cases[] = {
        {"id = \"a\"\ncodePage = 866\n", "'zelkin.toml' line 2: codePage must be one of 1250"},
        {"codePage = \"1251\"\n", "codePage must be one of"},
        {"id = \"../x\"\n", "line 1: id '../x' is not usable as a file name"},
        {"id = 5\n", "id must be a text"},
        {"languages = [\"en\"]\n", "each of languages is a table"},
        {"languages = [{ name = \"x\", code = \"e n\" }]\n", "code 'e n' is not a language tag"},
        {"id = \"a\"\nid = \"b\"\n", "'zelkin.toml' line 2"},
    };
    for (const Case& c : cases) {
        try {
            parseMetadata(c.text);
            ADD_FAILURE() << c.text;
        } catch (const DataError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(validGameId("Tolvan_1.0"));
    EXPECT_FALSE(validGameId(".hidden"));
    EXPECT_FALSE(validGameId(std::string(65, 'a')));
    EXPECT_TRUE(validLanguageTag("pt-BR"));
    EXPECT_FALSE(validLanguageTag("pt_BR"));
}

}  // namespace
}  // namespace zk
