#pragma once

namespace qvctl {

// qvctl's exit status, documented in --help; scripts rely on these numbers.
enum ExitCode : int {
    kExitOk = 0,
    kExitDeclined = 1,      // the operator answered No to a question; nothing was sent
    kExitUsage = 2,         // bad command line, unreadable password file, no password
    kExitConnectFailed = 3, // the appliance could not be reached
    kExitLogonRefused = 4,  // wrong administrator ID or password
    kExitLinkLost = 5,      // the link ended, or no answer came in time
    kExitChangeRefused = 6, // the appliance refused a change
    // the change was taken, but reading it back shows another administrator's table
    kExitChangeOverwritten = 7,
};

} // namespace qvctl
