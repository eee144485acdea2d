// Kestrin run from its build tree: the build writes an entry for it (share/applications/
// <application id>.desktop beside the binary, naming the built binary), which the session's
// portals must find to know Kestrin by its application id, as they know the installed one.
#pragma once

namespace kestrin::qt::wl {

// When this binary has that entry beside it, adds the folder to the data folders of the
// programs the session bus starts from now on (XDG_DATA_DIRS, through the bus's activation
// environment), before anything starts the portal; says on stderr when the portal runs already
// and cannot see it. Writes no file. Does nothing for an installed Kestrin.
void NameBuildTreeToSession();

}  // namespace kestrin::qt::wl
