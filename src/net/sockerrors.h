// The descriptions of the Windows Sockets error codes, for the texts of the socket errors the client
// raises ("10061:Connection refused"). Portable: the codes are plain numbers.
#pragma once

#include <string>

// The description of a Windows Sockets error code; "Unknown Error No. " and the code for a code the
// table does not hold.
std::string SocketErrorDescription(int code);
// The text of a raised socket error: the code in decimal, ":" and its description.
std::string SocketErrorText(int code);
