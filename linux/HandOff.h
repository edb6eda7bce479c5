#pragma once
#include <optional>
#include <string>

// The hand-over of a link to the running program, without Qt: what a later start
// does is only this, so it is kept small and quick to load (routelle-desktop), and
// the whole program (routelle-desktop-app) is started only when none runs.
namespace routelle::desktop {

struct HandedLink {
  std::string link;
  int requester = 0;  // the process that started the later run; its parents asked for the link
};

// $XDG_RUNTIME_DIR/routelle-desktop.socket, else in the settings folder
// ($XDG_CONFIG_HOME/routelle, ~/.config/routelle).
std::string instanceSocketPath();

// "PID LENGTH\n" then the link's bytes; the running program answers one byte once
// it has read what it needs of the requester's processes.
std::string handOffMessage(const HandedLink& handed);
// The link a whole message holds; nothing while it is incomplete or when it is
// not one (refused: the connection is dropped).
enum class MessageState { incomplete, complete, invalid };
MessageState readHandOffMessage(const std::string& bytes, HandedLink& handed);

// False when no program runs (or it did not answer in time).
bool handToRunningInstance(const HandedLink& handed);

}  // namespace routelle::desktop
