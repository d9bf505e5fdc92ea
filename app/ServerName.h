#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dovrel {

// The name of a print server as the spooler takes it, "\\name", from what
// a user typed: "\\name" or "name". None when the text is no computer's
// name: empty, with a blank or a character that no computer name holds,
// or longer than a DNS name may be.
std::optional<std::wstring> ServerName(const std::wstring& text);

// What the program's command line asks for: the ports of this computer
// (no arguments), or of the print server its one argument names. None when
// it asks for anything else: more than one argument, or one that is not a
// server's name ("/?" included).
struct PortsToShow {
    std::wstring server;  // "\\name"; empty for this computer
};
std::optional<PortsToShow> PortsAskedFor(const std::vector<std::wstring>& arguments);

}  // namespace dovrel
