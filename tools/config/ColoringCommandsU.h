// The config tool's colourings command: where the pictures' kept colourings
// live and how many there are, and clearing them (every picture then opens
// uncoloured). Only the program's own colouring files in its own folder are
// ever removed.
#pragma once

#include "tools/config/StoreCommandsU.h"

namespace tw {

int RunColorings(TConfigContext& context);

}  // namespace tw
