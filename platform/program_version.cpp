#include "platform/program_version.h"

namespace quorbel {

// Only this file is compiled with the definition, so a new version rebuilds
// one object rather than the whole program.
const char* ProgramVersion() { return QUORBEL_VERSION; }

}  // namespace quorbel
