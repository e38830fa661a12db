// The logon autostart entry of this program.
#pragma once

namespace zurimo {

// Writes (true) or removes (false) the entry; returns whether that succeeded.
bool SetAutoStart(bool enable);

}  // namespace zurimo
