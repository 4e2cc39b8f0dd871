#include "app/panels/panel_view.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "app/panels/dialog_units.h"

namespace quorbel {

namespace {

constexpr int kSliderPageStep = 20;  // a fifth of the range per page
constexpr int kTitleBoxMargin = 2;   // pixels around the text inside the frame

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }
QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The title box: one line high like the other fields, but a title may hold
// line breaks. Shift+Enter or Ctrl+Enter types one; a plain Enter goes on to
// the panel, where it means OK. What the box may hold is the model's rule.
class TitleBox : public QPlainTextEdit {
public:
    TitleBox() {
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setTabChangesFocus(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        document()->setDocumentMargin(kTitleBoxMargin);
    }
    QSize sizeHint() const override {
        const int height = fontMetrics().lineSpacing() + 2 * (frameWidth() + kTitleBoxMargin) + 2;
        return {QPlainTextEdit::sizeHint().width(), height};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
            return QPlainTextEdit::keyPressEvent(event);
        if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) insertPlainText(QStringLiteral("\n"));
        else event->ignore();
    }
};

QWidget* MakeField(const ControlSpec& spec) {
    if (spec.kind == ControlKind::EditBox) return new TitleBox;
    auto* edit = new QLineEdit;
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

// Puts the model's text into the box only when it differs, so the cursor
// stays where the user types; a refused edit leaves it about where it was.
void ShowText(QPlainTextEdit* box, const QString& text) {
    if (box->toPlainText() == text) return;
    const int at = box->textCursor().position();
    box->setPlainText(text);
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(std::min(at, static_cast<int>(box->document()->characterCount()) - 1));
    box->setTextCursor(cursor);
}

QWidget* MakeWidget(const ControlSpec& spec) {
    const QString caption = QString::fromLatin1(spec.caption);
    switch (spec.kind) {
        case ControlKind::Slider: {
            auto* slider = new QSlider(Qt::Horizontal);
            slider->setRange(0, 100);
            slider->setPageStep(kSliderPageStep);
            slider->setTickPosition(QSlider::NoTicks);
            return slider;
        }
        case ControlKind::CheckBox: return new QCheckBox(caption);
        case ControlKind::RadioButton: {
            // The model keeps the group exclusive; the button only shows it.
            auto* radio = new QRadioButton(caption);
            radio->setAutoExclusive(false);
            return radio;
        }
        case ControlKind::NumberField:
        case ControlKind::EditBox: return MakeField(spec);
        case ControlKind::PushButton: {
            auto* button = new QPushButton(caption);
            button->setAutoDefault(false);
            return button;
        }
        case ControlKind::Label: return new QLabel(caption);
        case ControlKind::GroupBox: return new QGroupBox(caption);
    }
    return nullptr;
}

// The template's rectangle, grown where the desktop's font needs more room,
// so no caption is clipped; a taller control stays centred on its row.
QRect Fit(QWidget* widget, const ControlSpec& spec, const DialogUnits& units) {
    QRect rect = units.Rect(spec.rect);
    if (spec.kind == ControlKind::GroupBox) return rect;
    const QSize hint = widget->sizeHint();
    if (spec.kind != ControlKind::Slider && spec.kind != ControlKind::EditBox &&
        spec.kind != ControlKind::NumberField)
        rect.setWidth(std::max(rect.width(), hint.width()));
    if (hint.height() > rect.height()) {
        rect.translate(0, -(hint.height() - rect.height()) / 2);
        rect.setHeight(hint.height());
    }
    return rect;
}

}  // namespace

PanelView::PanelView(PanelModel& model, QWidget* owner, PanelEventRunner runner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      model_(model),
      runner_(std::move(runner)) {
    const PanelTemplate& layout = model.Template();
    setWindowTitle(QString::fromLatin1(layout.caption));
    setObjectName(QStringLiteral("panel%1").arg(layout.templateId));
    setModal(false);
    Build();
    Sync();
    PlaceAtTemplatePosition();
}

void PanelView::Build() {
    const DialogUnits units(font());
    QRect used(QPoint(0, 0), units.Size(model_.Template().rect));
    // Group boxes first, so they lie behind the controls they frame.
    for (bool groups : {true, false}) {
        for (const ControlSpec& spec : model_.Template().controls) {
            if (spec.hidden || (spec.kind == ControlKind::GroupBox) != groups) continue;
            QWidget* widget = MakeWidget(spec);
            widget->setParent(this);
            if (spec.id != 0) widget->setObjectName(QStringLiteral("control%1").arg(spec.id));
            widget->setGeometry(Fit(widget, spec, units));
            used = used.united(widget->geometry().adjusted(0, 0, units.X(4), units.Y(4)));
            Connect(spec, widget);
            controls_.push_back({&spec, widget});
        }
    }
    setFixedSize(used.size());
}

void PanelView::Connect(const ControlSpec& spec, QWidget* widget) {
    const int id = spec.id;
    if (auto* slider = qobject_cast<QSlider*>(widget)) {
        connect(slider, &QSlider::valueChanged, this, [this, id](int value) {
            Forward([this, id, value] { model_.MoveSlider(id, value); });
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { Forward([this, id] { model_.Click(id); }); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
            Forward([this, id, text = ToUtf8(text)] { model_.ChangeText(id, text); });
        });
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
        connect(box, &QPlainTextEdit::textChanged, this, [this, id, box] {
            Forward([this, id, text = ToUtf8(box->toPlainText())] { model_.ChangeText(id, text); });
        });
    }
}

void PanelView::Sync() {
    for (const Control& control : controls_) SyncControl(control);
}

void PanelView::SyncControl(const Control& control) {
    const QSignalBlocker blocker(control.widget);
    const int id = control.spec->id;
    if (auto* slider = qobject_cast<QSlider*>(control.widget)) {
        slider->setValue(model_.SliderPosition(id));
    } else if (auto* box = qobject_cast<QAbstractButton*>(control.widget); box && box->isCheckable()) {
        box->setChecked(model_.IsChecked(id));
    } else if (auto* edit = qobject_cast<QLineEdit*>(control.widget)) {
        // Only when it differs, so the cursor stays where the user types.
        const QString text = FromUtf8(model_.FieldText(id));
        if (edit->text() != text) edit->setText(text);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(control.widget)) {
        ShowText(box, FromUtf8(model_.FieldText(id)));
    }
}

void PanelView::PlaceAtTemplatePosition() {
    const DialogUnits units(font());
    const DialogRect& rect = model_.Template().rect;
    QPoint origin = parentWidget() ? parentWidget()->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    move(origin + units.Point(rect.x, rect.y));
}

void PanelView::Forward(const std::function<void()>& event) {
    if (runner_) runner_(event);
    else event();
}

// Enter on a push button presses that button, as its focus makes it the
// default; anywhere else Enter is the panel's OK. Escape hides the panel.
void PanelView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
        else Forward([this] { model_.PressEnter(); });
        return;
    }
    if (key == Qt::Key_Escape) {
        Forward([this] { model_.PressEscape(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

// The close box hides the panel through its model, which also clears the
// panel's open mark; the window itself is never destroyed.
void PanelView::closeEvent(QCloseEvent* event) {
    event->ignore();
    Forward([this] { model_.PressCloseBox(); });
}

void PanelView::reject() { Forward([this] { model_.PressEscape(); }); }

}  // namespace quorbel
