#pragma once
// The event-script interpreter. Every running event is a copy of an object's event in
// a queue slot; each logic tick runs its commands in order, clearing each one that is
// done, until a command waits (the rest of that script waits with it) or the script
// ends. Conventions shared by all verbs: "<self>" names the script's own object (the
// command's self name), "<actual>" the current room, a flag is on only when it is
// exactly "true", and an object, room or template that does not exist makes the
// command do nothing.
#include "data/game_state.h"

namespace zk {

// Advances every queued script by one tick: the slots in order, each one's commands
// from position 0 on, passing over the done ones. Verbs are tested in the order of the
// script vocabulary, so a command that turns itself into a later verb ("showhint" into
// "waitforhint", "startdialog" into "waitfordlg") is handled under its new name at
// once. A verb the interpreter does not know is passed over and keeps its slot in use.
//
// A script error (a "changevar" or "ifvar" value that is not an integer, or a data
// file a command needs that cannot be read) is reported once through the error report
// and ends the queue run for this tick; the failing command counts as done. So does
// the end of the program ("exitgame", or "newgame" without a start room).
void runQueue(GameState& g);

}  // namespace zk
