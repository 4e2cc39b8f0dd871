// The program's version, as the build defines it once (CMake's project
// version): --version, the About box and the package's name all show it.
#pragma once

namespace quorbel {

const char* ProgramVersion();

}  // namespace quorbel
