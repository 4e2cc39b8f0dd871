// Mouse drags and arrow keys in the view, and its resize rule.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "commands/view_input.h"
#include "scene/gl_setup.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

class ViewInput : public ::testing::Test {
protected:
    void SetUp() override { scene = SceneState{}; }
    // A drag from (100, 100) by (dx, dy) in one move.
    void Drag(MouseButton button, int dx, int dy, DragModifiers modifiers = {}) {
        MouseButtonDown(drag, button, 100, 100);
        EXPECT_TRUE(MouseMove(drag, 100 + dx, 100 + dy, modifiers));
        MouseButtonUp(drag, button);
    }
    DragState drag;
};

TEST_F(ViewInput, EachModifierMovesItsOwnFieldsByThePartsAmounts) {
    struct Row {
        const char* name;
        MouseButton button;
        DragModifiers modifiers;
        float posX, posY, posZ, angleX, angleY, angleZ, mouseZoom;
    };
    // Every drag is by (+10, +4).
    const Row rows[] = {
        {"left", MouseButton::Left, {}, 0, 0, -10, 4, 10, 0, 0},
        {"ctrl", MouseButton::Left, {true, false}, 0.5f, -0.2f, -10, 0, 0, 0, 0},
        {"shift", MouseButton::Left, {false, true}, 0, 0, -10, 0, 0, 7, 0},
        {"ctrl wins over shift", MouseButton::Left, {true, true}, 0.5f, -0.2f, -10, 0, 0, 0, 0},
        {"right", MouseButton::Right, {}, 0, 0, -3, 0, 0, 0, 7},
        {"shift wins over right", MouseButton::Right, {false, true}, 0, 0, -10, 0, 0, 7, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        scene = SceneState{};
        Drag(row.button, 10, 4, row.modifiers);
        EXPECT_FLOAT_EQ(scene.textPosX, row.posX);
        EXPECT_FLOAT_EQ(scene.textPosY, row.posY);
        EXPECT_FLOAT_EQ(scene.textPosZ, row.posZ);
        EXPECT_FLOAT_EQ(scene.textAngleX, row.angleX);
        EXPECT_FLOAT_EQ(scene.textAngleY, row.angleY);
        EXPECT_FLOAT_EQ(scene.textAngleZ, row.angleZ);
        EXPECT_FLOAT_EQ(scene.textMouseZoom, row.mouseZoom);
        EXPECT_EQ(scene.textMouseZoomUsed, row.button == MouseButton::Right ? 2 : 0);
    }
}

TEST_F(ViewInput, UpsideDownTextTurnsTheOtherWayAndAnglesWrapIntoRange) {
    struct Row {
        float angleX, angleY;     // before the drag
        float afterX, afterY;     // after a (+10, +4) plain left drag
    };
    const Row rows[] = {
        {90.0f, 0.0f, 94.0f, 10.0f},      // exactly 90: not yet upside down
        {91.0f, 0.0f, 95.0f, -10.0f},     // upside down: y turn reversed
        {-180.0f, 5.0f, -176.0f, -5.0f},  // the absolute angle counts
        {269.0f, 0.0f, 273.0f, -10.0f},
        {270.0f, 0.0f, 274.0f, 10.0f},    // exactly 270: upright again
        {360.0f, -360.0f, 364.0f, -350.0f},  // exactly +-360 is not wrapped
        {361.0f, 0.0f, 5.0f, 10.0f},      // 361 wraps to 1
        {-725.0f, 725.0f, -1.0f, 15.0f},  // wraps by whole turns: -5 and 5
        {1.0e30f, 0.0f, 0.0f, 0.0f},      // hostile values are brought into range
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.angleX);
        scene = SceneState{};
        scene.textAngleX = row.angleX;
        scene.textAngleY = row.angleY;
        Drag(MouseButton::Left, 10, 4);
        if (row.angleX > 1.0e20f) {
            EXPECT_LE(std::fabs(scene.textAngleX), 364.0f);
            continue;
        }
        EXPECT_FLOAT_EQ(scene.textAngleX, row.afterX);
        EXPECT_FLOAT_EQ(scene.textAngleY, row.afterY);
    }
}

// The fire moves even while hidden; targets without a row move nothing.
TEST_F(ViewInput, ArrowKeysMoveTheTargetByATenth) {
    scene.keyTarget = 7;
    scene.fireShown = 0;
    const float startY = scene.fireY;
    for (ArrowKey key : {ArrowKey::Right, ArrowKey::Right, ArrowKey::Left, ArrowKey::Down})
        EXPECT_TRUE(PressArrowKey(key));
    EXPECT_FLOAT_EQ(scene.fireX, 0.1f);
    EXPECT_FLOAT_EQ(scene.fireY, startY - 0.1f);
    EXPECT_TRUE(PressArrowKey(ArrowKey::Up));
    EXPECT_FLOAT_EQ(scene.fireY, startY);
    for (std::int32_t target : {0, 1, 3, 5, 8, -2}) {
        scene = SceneState{};
        scene.keyTarget = target;
        EXPECT_FALSE(PressArrowKey(ArrowKey::Left));
        EXPECT_EQ(scene.textPosX, 0.0f);
        EXPECT_EQ(scene.starFieldX, 0.0f);
        EXPECT_EQ(scene.particleX, 0.0f);
        EXPECT_EQ(scene.fireX, 0.0f);
    }
}

TEST(ViewResize, ZeroHeightGivesAOnePixelViewportAndAFiniteAspect) {
    ASSERT_TRUE(testing::Engine());
    ResizeGL(640, 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 1);
    GLdouble projection[16] = {};
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    // Perspective: m[0] = f / aspect, m[5] = f, so aspect = m[5] / m[0] = 640.
    ASSERT_TRUE(std::isfinite(projection[0]));
    EXPECT_NEAR(projection[5] / projection[0], 640.0, 0.01);  // the matrix is kept in floats
    ResizeGL(720, 480);
}

}  // namespace
}  // namespace quorbel
