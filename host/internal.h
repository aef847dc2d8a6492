// internal.h: what the host's source files share and tests need not see.
#pragma once

#include "host.h"

namespace host::detail {

// The panel service's functions (panels.cpp), as the record hands them out;
// panelGlobal is left null.
PanelService panelServiceTable();

// A handle turned back into the host's object, or null when the current
// host did not hand it out.
Panel *panelFromId(Host &host, PanelId id);

} // namespace host::detail
