#pragma once
// The words of event scripts: every verb with its parameters, and every event name.
// The interpreter, the package builder's checks, the script parser and the formatter
// all read these tables, so what the tools accept and what the engine runs cannot
// drift apart.
#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

namespace zk {

// What a verb's parameter names, for the reference checks of the package builder.
enum class ParamRef {
    None,
    Object,    // "<self>" or an object template name
    Template,  // an object template name
    Room,      // "<actual>" or a room name
    Entrance,  // an entrance of the verb's room
    Cursor,
    Music,    // a music name, or empty
    Sound,    // a sound of the verb's object
    Picture,  // a picture list of the verb's owner (objects) or room (backgrounds)
    Facing,   // "<left>", "<right>", "<up>", "<down>", "<nochange>" or empty
};

struct VerbParam {
    std::string_view name;   // the name scripts use: "who", "room"...
    std::string_view field;  // the command field it is stored in: "p1", "num1", "text"...
    ParamRef ref = ParamRef::None;
};

inline constexpr size_t kMaxVerbParams = 7;

struct ScriptVerb {
    constexpr ScriptVerb(std::string_view verbName, std::initializer_list<VerbParam> list)
        : name(verbName) {
        for (const VerbParam& p : list) slots[count++] = p;
    }
    // In the order of positional parameters.
    constexpr std::span<const VerbParam> params() const { return {slots.data(), count}; }

    std::string_view name;
    std::array<VerbParam, kMaxVerbParams> slots{};
    size_t count = 0;
};

// Every verb the engine runs, in the order the interpreter tests them: a command that
// rewrites itself into a later verb of this table is run under its new name in the
// same tick, one rewritten into an earlier verb only in the next.
inline constexpr std::array<ScriptVerb, 48> kScriptVerbs = {{
    {"walkto",
     {{"who", "p1", ParamRef::Object},
      {"facing", "p4", ParamRef::Facing},
      {"x", "num1"},
      {"y", "num2"},
      {"wait", "num3"}}},
    {"waitforchar", {{"who", "p1", ParamRef::Object}, {"x", "num1"}, {"y", "num2"}}},
    {"changeroom", {{"room", "p1", ParamRef::Room}, {"entrance", "p2", ParamRef::Entrance}}},
    {"addobj",
     {{"template", "p1", ParamRef::Template},
      {"room", "p2", ParamRef::Room},
      {"relative", "p3"},
      {"target", "p4"},
      {"x", "num1"},
      {"y", "num2"}}},
    {"changeobj",
     {{"object", "p1", ParamRef::Object},
      {"room", "p2", ParamRef::Room},
      {"template", "p3", ParamRef::Template}}},
    {"deleteobj", {{"object", "p1", ParamRef::Object}, {"room", "p2", ParamRef::Room}}},
    {"changespr",
     {{"object", "p1", ParamRef::Object},
      {"owner", "p2", ParamRef::Object},
      {"room", "p3", ParamRef::Room},
      {"file", "p4", ParamRef::Picture}}},
    {"changexy",
     {{"object", "p1", ParamRef::Object},
      {"room", "p2", ParamRef::Room},
      {"relative", "p3"},
      {"x", "num1"},
      {"y", "num2"}}},
    {"showhint", {{"object", "p1", ParamRef::Object}, {"wait", "p2"}, {"text", "text"}}},
    {"waitforhint", {{"object", "p1", ParamRef::Object}}},
    {"deleteevent",
     {{"object", "p1", ParamRef::Object}, {"room", "p2", ParamRef::Room}, {"event", "num1"}}},
    {"playanim",
     {{"object", "p1", ParamRef::Object},
      {"owner", "p2", ParamRef::Object},
      {"file", "p3", ParamRef::Picture},
      {"wait", "p4"},
      {"delay", "num1"},
      {"cycles", "num2"},
      {"keep", "num3"}}},
    {"changebg", {{"room", "p1", ParamRef::Room}, {"file", "p2", ParamRef::Picture}}},
    {"sleep", {{"ms", "num1"}}},
    {"setinactive", {{"object", "p1", ParamRef::Object}, {"room", "p2", ParamRef::Room}}},
    {"startdialog",
     {{"owner", "p1", ParamRef::Object},
      {"head", "p2", ParamRef::Picture},
      {"question", "p3"},
      {"choices", "text"},
      {"style", "num1"},
      {"voice", "num2"}}},
    {"changevar",
     {{"object", "p1", ParamRef::Object},
      {"room", "p2", ParamRef::Room},
      {"relative", "p3"},
      {"value", "text"},
      {"var", "num1"}}},
    {"ifvar",
     {{"object", "p1", ParamRef::Object},
      {"room", "p2", ParamRef::Room},
      {"value", "text"},
      {"var", "num1"},
      {"compare", "num2"}}},
    {"waitfordlg", {}},
    {"ifdlgresult", {{"result", "num1"}}},
    {"newgame", {}},
    {"exitgame", {}},
    {"setlanguage", {{"language", "num1"}}},
    {"delholdingsubj", {}},
    {"callevent", {{"event", "num1"}}},
    {"begin", {}},
    {"end", {}},
    {"playsnd", {{"object", "p1", ParamRef::Object}, {"sound", "p2", ParamRef::Sound}}},
    {"changecur",
     {{"object", "p1", ParamRef::Object},
      {"room", "p2", ParamRef::Room},
      {"cursor", "p3", ParamRef::Cursor}}},
    {"fadeout", {}},
    {"fadein", {}},
    {"savegame", {{"slot", "num1"}}},
    {"loadgame", {{"slot", "num1"}}},
    {"ifinvsubj", {{"item", "p1", ParamRef::Object}}},
    {"savelastgs", {{"width", "num1"}, {"height", "num2"}}},
    {"setslotspr", {{"object", "p1", ParamRef::Object}, {"slot", "num1"}}},
    {"backtogame", {}},
    {"freezgame", {{"mode", "num1"}}},
    {"unfreezgame", {}},
    {"sethp", {{"relative", "p1"}, {"value", "num1"}}},
    {"ifhp", {{"value", "num1"}, {"compare", "num2"}}},
    {"ifprogress", {}},
    {"changedepth",
     {{"object", "p1", ParamRef::Object},
      {"room", "p2", ParamRef::Room},
      {"mode", "num1"},
      {"depth", "num2"},
      {"behind", "num3"},
      {"front", "num4"}}},
    {"changemusic", {{"room", "p1", ParamRef::Room}, {"music", "p2", ParamRef::Music}}},
    {"clearinprogress", {}},
    {"setcharspr",
     {{"object", "p1", ParamRef::Object},
      {"room", "p2", ParamRef::Room},
      {"facing", "p3", ParamRef::Facing}}},
    {"waitforanim", {{"object", "p1", ParamRef::Object}, {"cycles", "num1"}}},
    {"stopchar", {}},
}};

// The position of verb `name` in kScriptVerbs; nothing for an empty or unknown verb.
// Verbs compare exactly ("Sethp" is no verb).
std::optional<size_t> verbIndex(std::string_view name);

// Every event name the engine raises or looks for.
inline constexpr std::array<std::string_view, 14> kEventNames = {
    "onclick",      "onusewith",    "onpickup",    "onzone",   "onfloor",
    "onkey",        "ontimer",      "onroomenter", "onpath",   "onmouseenter",
    "onmouseleave", "wrongsubjmsg", "ondebugmode", "transmute"};

bool knownEvent(std::string_view name);

}  // namespace zk
