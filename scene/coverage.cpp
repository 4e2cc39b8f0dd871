#include "scene/coverage.h"

#include <GL/gl.h>

namespace quorbel {

namespace {
bool marking = false;
}  // namespace

void SetCoverageMarking(bool on) { marking = on; }
bool CoverageMarking() { return marking; }

void ClearCoverage() {
    if (!marking) return;
    glClearStencil(0);
    glStencilMask(0xFF);
    glClear(GL_STENCIL_BUFFER_BIT);
}

void BeginSolidLayer() {
    if (!marking) return;
    glEnable(GL_STENCIL_TEST);
    glStencilMask(0xFF);
    glStencilFunc(GL_ALWAYS, kCoveredMark, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
}

void EndSolidLayer() {
    if (!marking) return;
    glDisable(GL_STENCIL_TEST);
}

}  // namespace quorbel
