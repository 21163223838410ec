#pragma once
// What the start-up makes sure of before it creates anything below the data
// root: the year folder from the launch parameters is a real folder of the
// host's data tree (…/AGENDA…/ROK…/, not at the file-system root), it
// exists, and the year's, agenda's and data root's data can be read. Each
// failure is told with its own reason instead of surfacing later as a
// missing table or a double-entry agenda.

namespace kasovka {

class TBaseApplication;

// True when the start-up may go on. Otherwise the reason, naming the
// folder, has been shown (kind error) and the program must end.
bool CheckHostFolders(TBaseApplication &app);

} // namespace kasovka
