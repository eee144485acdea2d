// Kestrin run from its build tree: the build writes an entry for it (share/applications/
// <application id>.desktop beside the binary, naming the built binary), which the session's
// portals must find to know Kestrin by its application id, as they know the installed one.
#pragma once

namespace kestrin::qt::wl {

// When this binary has that entry beside it, adds the folder to the data folders of the
// programs the session bus starts from now on (XDG_DATA_DIRS, through the bus's activation
// environment), before anything starts the portal. A portal already running keeps the folders it
// started with: it then knows Kestrin only from systemd's app scope (scripts/run.sh starts it in
// one), and Kestrin's registration with it fails, which Kestrin says. Writes no file. Does
// nothing for an installed Kestrin.
void NameBuildTreeToSession();

}  // namespace kestrin::qt::wl
