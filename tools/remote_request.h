#pragma once
// The request line `torvane-tool remote` sends for its words: CMD [ARGS] as the control channel's
// JSON (dev/control_command.h).

#include <string>
#include <vector>

// state | play | pause | quit | seek MS | loop FROM TO | loop off | reload [PATH] |
// screenshot FILE (made absolute: the player runs in another folder) | send JSON (sent as is).
// False with the reason in error for words that make no request.
bool BuildRemoteRequest(const std::vector<std::string>& words, std::string& line, std::string& error);
