// The window's document. It has no content: the scene's settings are reset,
// opened and saved by the toolbar's commands, not through the document. All
// it has is the name Ctrl+O gave it, which the core keeps.
#pragma once

#include <string>

#include "commands/commands.h"

namespace quorbel::gui {

class CPravikDoc {
public:
    const std::string& PathName() const { return DocumentName(); }
};

}  // namespace quorbel::gui
