// Where the controller works when the desktop menu starts it. The controller
// keeps its address history files in its working directory; a menu launch
// would leave them in whatever folder the desktop uses, so the menu entry
// marks its launches with an environment variable (an option would show up
// in --help as one more way to run the program) and the controller moves into
// a folder of the user's own. Started from a shell it stays where it is.
#pragma once

#include <QString>

// Set to a non-empty value by the menu entry's Exec line.

namespace zrv::shell {

inline constexpr char kMenuStartVariable[] = "ZRV02_MENU_START";
// Below the home directory; made on the first menu start.
inline constexpr char kMenuStartFolderName[] = "ZRV-02";

// Enters ~/ZRV-02 when kMenuStartVariable is set, making it if needed.
// Returns what went wrong, empty on success or when there was nothing to do;
// on failure the working directory is left unchanged.
QString EnterMenuStartFolder();

}  // namespace zrv::shell
