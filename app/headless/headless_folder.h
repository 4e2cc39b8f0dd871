// Where a headless run works: the same folder the window would (see
// commands/working_folder.h), so that a run from any folder finds the
// program's pictures and start-up settings.
#pragma once

#include "app/headless/headless_runner.h"

namespace quorbel {

// Moves into the working folder and says which on stderr. The files named
// on the command line keep meaning the folder the user typed them in: when
// the run moves, they are made absolute first.
void EnterHeadlessWorkingFolder(HeadlessOptions& options);

}  // namespace quorbel
