#include "scene/view_init.h"

#include "effects/text.h"
#include "scene/gl_setup.h"
#include "scene/scene_state.h"

namespace quorbel {

bool InitialiseView(int width, int height) {
    ResizeGL(width, height);
    scene.textToggleCount = 1;
    bool complete = InitScene();
    BuildTextFont();
    return complete;
}

}  // namespace quorbel
