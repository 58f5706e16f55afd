// The config tool's commands on the parent's password and the save and
// print locks: in the user's own store, or with --system in the system
// policy that fixes them for every user of the computer. While a policy is
// in force the user's commands refuse to change what it fixes and say why.
// No command prints a password or stores one in clear.
#pragma once

#include <string>

#include "tools/config/StoreCommandsU.h"

namespace tw {

int RunPassword(TConfigContext& context);
// "lock" alone shows the locks and where they come from.
int RunLock(TConfigContext& context);

// password and lock on the system policy (--system); no user store is
// opened. Changing it needs root.
int RunSystemCommand(const TConfigCommandLine& line, TConsole& console);

// Whether set may write name in section: the password only through
// "password" (throws EUsage), the locks not while a system policy fixes
// them (says why and returns ExitFailure); ExitOk otherwise.
int CheckParentValue(TConfigContext& context, const std::string& section, const std::string& name);

}  // namespace tw
