#include "app/gui/tip_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/artwork.h"

namespace quorbel::gui {

namespace {

// The white strip with the bulb and "Did you know..." beside it.
class TipHeading : public QWidget {
public:
    explicit TipHeading(QWidget* parent) : QWidget(parent), bulb_(BulbPicture()) {
        setObjectName(QStringLiteral("tipHeading"));
        setMinimumSize(bulb_.width() + 150, bulb_.height());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.drawImage(QPoint(0, 0), bulb_);
        QFont font = painter.font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.4);
        painter.setFont(font);
        QRect text = rect().adjusted(bulb_.width() + 8, 0, 0, 0);
        painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, kDidYouKnowText);
    }

private:
    QImage bulb_;
};

QLabel* WhiteText(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("control1004"));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setMargin(8);
    label->setMinimumHeight(80);
    return label;
}

}  // namespace

TipDialog::TipDialog(TipOfTheDay& tips, QWidget* parent) : QDialog(parent), tips_(tips) {
    setWindowTitle(kTipCaption);
    setObjectName(QStringLiteral("tipDialog"));

    auto* welcome = new QLabel(QStringLiteral("Welcome to Tip of the Day. Everytime you start\n"
                                              "Quorbel, you'll be greeted with a tip until you\n"
                                              "Remove the check from \"show tips on Startup\""),
                               this);
    welcome->setObjectName(QStringLiteral("welcomeText"));
    tipText_ = WhiteText(this);
    showAtStartup_ = new QCheckBox(QStringLiteral("&Show Tips on StartUp"), this);
    showAtStartup_->setObjectName(QStringLiteral("control1001"));
    nextTip_ = new QPushButton(QStringLiteral("&Next Tip"), this);
    nextTip_->setObjectName(QStringLiteral("control1002"));
    nextTip_->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("control1"));
    close->setDefault(true);

    connect(nextTip_, &QPushButton::clicked, this, [this] {
        tips_.NextTip();
        Refresh();
    });
    connect(close, &QPushButton::clicked, this, &TipDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showAtStartup_, 1);
    buttons->addWidget(nextTip_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new TipHeading(this));
    layout->addWidget(welcome);
    layout->addWidget(tipText_, 1);
    layout->addLayout(buttons);

    showAtStartup_->setChecked(tips_.showAtStartup());
    nextTip_->setEnabled(tips_.hasFile());
    Refresh();
}

void TipDialog::Refresh() { tipText_->setText(QString::fromLocal8Bit(tips_.tipText().c_str()).trimmed()); }

void TipDialog::accept() {
    tips_.Close(showAtStartup_->isChecked());
    QDialog::accept();
}

void OpenTipBox(QWidget* parent) {
    TipOfTheDay tips;
    TipDialog dialog(tips, parent);
    dialog.exec();
}

void ShowTipAtStartup(QWidget* parent) {
    TipOfTheDay tips;
    if (!tips.showAtStartup()) return;
    TipDialog dialog(tips, parent);
    dialog.exec();
}

}  // namespace quorbel::gui
