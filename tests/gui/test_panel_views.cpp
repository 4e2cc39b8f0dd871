// The panel windows on Qt's offscreen platform: every control of every panel
// is there under its id, the real widgets drive the models, the models'
// changes come back to the widgets, and the close box, Enter and Escape act
// on the open mark as the panels' rules say.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTextCursor>
#include <QValidator>

#include <memory>

#include "app/panels/dialog_units.h"
#include "app/panels/panel_host.h"
#include "panel_test_helpers.h"

namespace quorbel {
namespace {

// The scripted platform, with its panel calls also handed to a host of real
// windows, as the shell's platform does.
class WindowedPlatform : public ScriptedPlatform {
public:
    PanelHost host{nullptr};
    void PanelCreated(const PanelHandle& panel) override {
        ScriptedPlatform::PanelCreated(panel);
        host.Created(panel);
    }
    void PanelShown(const PanelHandle& panel, bool visible) override {
        ScriptedPlatform::PanelShown(panel, visible);
        host.Shown(panel, visible);
    }
    void PanelChanged(const PanelHandle& panel) override {
        ScriptedPlatform::PanelChanged(panel);
        host.Changed(panel);
    }
};

QString ControlName(int id) { return QStringLiteral("control%1").arg(id); }

class PanelViews : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing::FreshScene());
        DiscardAllPanels();
        platform_ = std::make_unique<WindowedPlatform>();
        SetPlatform(platform_.get());
    }
    void TearDown() override {
        SetPlatform(nullptr);
        platform_.reset();  // the windows go first: they point at the models
        DiscardAllPanels();
    }
    PanelView& Open(PanelKind kind, bool shown = true) {
        PanelView* view = platform_->host.ViewOf(CreatePanel(kind, shown).Handle());
        EXPECT_NE(view, nullptr);
        return *view;
    }
    template <typename W>
    static W* Find(PanelView& view, int id) {
        W* widget = view.findChild<W*>(ControlName(id));
        EXPECT_NE(widget, nullptr) << "no control " << id << " of the expected kind";
        return widget;
    }
    static void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &press);
    }
    std::unique_ptr<WindowedPlatform> platform_;
};

// Every control of every template exists under its id, as its kind, with
// its caption, unclipped by the desktop's font.
TEST_F(PanelViews, EveryControlIsThereUnderItsId) {
    for (int k = 0; k < kPanelKindCount; ++k) {
        PanelView& view = Open(static_cast<PanelKind>(k));
        const PanelTemplate& layout = view.model().Template();
        SCOPED_TRACE(layout.caption);
        EXPECT_EQ(view.windowTitle(), QString::fromLatin1(layout.caption));
        const DialogUnits units(view.font());
        EXPECT_GE(view.width(), units.X(layout.rect.width));
        EXPECT_GE(view.height(), units.Y(layout.rect.height));
        for (const ControlSpec& spec : layout.controls) {
            if (spec.id == 0) continue;
            QWidget* widget = view.findChild<QWidget*>(ControlName(spec.id));
            if (spec.hidden) {
                EXPECT_EQ(widget, nullptr) << spec.id;
                continue;
            }
            ASSERT_NE(widget, nullptr) << spec.id;
            EXPECT_TRUE(view.rect().contains(widget->geometry())) << spec.id << " lies outside the panel";
            if (auto* slider = qobject_cast<QSlider*>(widget)) {
                EXPECT_EQ(spec.kind, ControlKind::Slider);
                EXPECT_EQ(slider->minimum(), 0);
                EXPECT_EQ(slider->maximum(), 100);
                EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                EXPECT_EQ(button->text(), QString::fromLatin1(spec.caption)) << spec.id;
                EXPECT_GE(button->width(), button->sizeHint().width()) << spec.caption << " is clipped";
                EXPECT_EQ(button->isCheckable(), spec.kind != ControlKind::PushButton) << spec.id;
            } else if (spec.kind == ControlKind::EditBox) {
                EXPECT_NE(qobject_cast<QPlainTextEdit*>(widget), nullptr) << spec.id;
            } else {
                EXPECT_NE(qobject_cast<QLineEdit*>(widget), nullptr) << spec.id;
            }
        }
        for (QLabel* label : view.findChildren<QLabel*>())
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString() << " is clipped";
    }
}

TEST_F(PanelViews, RealWidgetsDriveTheScene) {
    PanelView& view = Open(PanelKind::Fire);
    Find<QSlider>(view, 1124)->setValue(70);
    EXPECT_EQ(scene.fireDirY, 25.0f);
    QCheckBox* rotate = Find<QCheckBox>(view, 1137);
    rotate->click();
    EXPECT_EQ(scene.fireColourRotate, 2);
    EXPECT_TRUE(rotate->isChecked());
    rotate->click();
    EXPECT_EQ(scene.fireColourRotate, 0);
    EXPECT_FALSE(rotate->isChecked());
    // "Reset" moves the sliders back, and the window shows it.
    Find<QPushButton>(view, 1010)->click();
    EXPECT_EQ(Find<QSlider>(view, 1124)->value(), 50);
    EXPECT_EQ(Find<QSlider>(view, 1135)->value(), 30);
}

TEST_F(PanelViews, PairsAndRadiosShowWhatTheModelDecided) {
    PanelView& view = Open(PanelKind::Text);
    QCheckBox* zoomIn = Find<QCheckBox>(view, 1017);
    QCheckBox* zoomOut = Find<QCheckBox>(view, 1018);
    zoomOut->click();
    zoomIn->click();
    EXPECT_TRUE(zoomIn->isChecked());
    EXPECT_FALSE(zoomOut->isChecked());
    EXPECT_EQ(scene.textZoomDir, 2);
    QRadioButton* chrome = Find<QRadioButton>(view, 1060);
    EXPECT_TRUE(chrome->isChecked());
    Find<QRadioButton>(view, 1062)->click();
    EXPECT_FALSE(chrome->isChecked());
    chrome->click();
    EXPECT_TRUE(chrome->isChecked()) << "clicking the checked radio leaves it checked";
    EXPECT_FALSE(Find<QRadioButton>(view, 1062)->isChecked());
}

TEST_F(PanelViews, FieldsTakeDigitsOnlyAndTitlesInAnyScript) {
    PanelView& view = Open(PanelKind::Text);
    QLineEdit* depth = Find<QLineEdit>(view, 1000);
    QString typed = QStringLiteral("4x");
    int at = 0;
    EXPECT_EQ(depth->validator()->validate(typed, at), QValidator::Invalid);
    depth->setFocus();
    depth->selectAll();
    depth->insert(QStringLiteral("40"));
    EXPECT_FLOAT_EQ(scene.textDepth, 4.0f);
    QPlainTextEdit* title = Find<QPlainTextEdit>(view, 1002);
    title->selectAll();
    title->insertPlainText(QString::fromUtf8("Caf\u00e9 \u20ac \u041c\u043e\u0441\u043a\u0432\u0430 \U0001F3AC"));
    EXPECT_EQ(scene.titleText.view(), "Caf\u00e9 \u20ac \u041c\u043e\u0441\u043a\u0432\u0430 \U0001F3AC");
    title->setPlainText(QString(255, QChar(0x6771)));
    title->moveCursor(QTextCursor::End);
    title->insertPlainText(QStringLiteral("x"));
    EXPECT_EQ(title->toPlainText(), QString(255, QChar(0x6771))) << "the 256th character is refused";
}

// Shift+Enter and Ctrl+Enter type a line break; Enter is still the panel's OK.
TEST_F(PanelViews, TitleBoxTakesLineBreaksAndEnterIsStillOk) {
    PanelView& view = Open(PanelKind::Text);
    QPlainTextEdit* title = Find<QPlainTextEdit>(view, 1002);
    title->setFocus();
    title->selectAll();
    title->insertPlainText(QStringLiteral("One"));
    Key(title, Qt::Key_Return, Qt::ShiftModifier);
    title->insertPlainText(QStringLiteral("Two"));
    Key(title, Qt::Key_Enter, Qt::ControlModifier);
    EXPECT_EQ(scene.titleText.view(), "One\nTwo\n");
    EXPECT_TRUE(view.isVisible());
    Key(title, Qt::Key_Return);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(scene.titleText.view(), "One\nTwo\n");
}

TEST_F(PanelViews, CloseBoxEnterAndEscapeAgainstTheOpenMark) {
    scene.blurPanelOpen = 2;
    scene.blurPanelPresses = 1;
    PanelView& view = Open(PanelKind::Blur);
    ASSERT_TRUE(view.isVisible());
    Key(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(scene.blurPanelOpen, 2);
    view.model().SetVisible(true);
    ASSERT_TRUE(view.isVisible());
    Key(&view, Qt::Key_Return);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(scene.blurPanelOpen, 2);
    EXPECT_EQ(scene.blurPanelPresses, 1);
    view.model().SetVisible(true);
    view.close();
    EXPECT_FALSE(view.isVisible());
    EXPECT_FALSE(view.model().Visible());
    EXPECT_EQ(scene.blurPanelOpen, 0);
    EXPECT_EQ(scene.blurPanelPresses, 0);
}

TEST_F(PanelViews, EnterPressesAFocusedButtonElseHidesThePanel) {
    PanelView& view = Open(PanelKind::Particles);
    QPushButton* reset = Find<QPushButton>(view, 1010);
    reset->setFocus();
    Key(reset, Qt::Key_Return);
    EXPECT_EQ(PanelCount(PanelKind::Particles), 2u) << "Reset Defaults opened a fresh panel";
    EXPECT_TRUE(view.isVisible());
    PanelView* fresh = platform_->host.ViewOf(LatestPanel(PanelKind::Particles)->Handle());
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(Find<QSlider>(*fresh, 1044)->value(), 100);
    QLineEdit* count = Find<QLineEdit>(*fresh, 1000);
    EXPECT_EQ(count->text(), QStringLiteral("2000"));
    count->setFocus();
    count->selectAll();
    count->insert(QStringLiteral("123"));
    EXPECT_EQ(scene.particleCount, 123);
    Key(count, Qt::Key_Return);
    EXPECT_FALSE(fresh->isVisible()) << "Enter in a field is the panel's OK";
}
}  // namespace
}  // namespace quorbel
