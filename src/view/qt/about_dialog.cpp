#include "view/qt/about_dialog.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace tsukikage {
namespace {

// The layout in client-area pixels: the icon and the title block at the top, the notices
// below a line, OK at the bottom right.
constexpr QSize kClientSize(440, 256);
constexpr QRect kIcon(16, 16, 32, 32);
constexpr QRect kTitle(64, 16, 360, 22);
constexpr QRect kVersion(64, 42, 360, 16);
constexpr QRect kDescription(64, 66, 360, 64);
constexpr QRect kLine(8, 138, 424, 2);
constexpr QRect kDisclaimer(16, 150, 312, 92);
constexpr QRect kOK(340, 220, 84, 24);

constexpr int kFontPixels = 12;
constexpr int kTitlePixels = 16;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The design's font, found through the substitution the program installs at start.
QFont DesignFont(int pixels) {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixels);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& rect, int pixels) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    label->setFont(DesignFont(pixels));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void SetText(QLabel* label, const std::string& text, std::string& shown) {
    if (text == shown) return;
    shown = text;
    label->setText(FromUtf8(text));
}

}  // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setModal(false);
    setFixedSize(kClientSize);
    setFont(DesignFont(kFontPixels));
    const QPixmap icon = IconPicture();
    setWindowIcon(icon);

    auto* pic_icon = new QLabel(this);
    pic_icon->setObjectName(QStringLiteral("picIcon"));
    pic_icon->setGeometry(kIcon);
    pic_icon->setPixmap(icon);

    lbl_title_ = MakeLabel(this, "lblTitle", kTitle, kTitlePixels);
    lbl_version_ = MakeLabel(this, "lblVersion", kVersion, kFontPixels);
    lbl_description_ = MakeLabel(this, "lblDescription", kDescription, kFontPixels);
    lbl_disclaimer_ = MakeLabel(this, "lblDisclaimer", kDisclaimer, kFontPixels);

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(kLine);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    cmd_ok_ = new QPushButton(this);
    cmd_ok_->setObjectName(QStringLiteral("cmdOK"));
    cmd_ok_->setGeometry(kOK);
    cmd_ok_->setDefault(true);
    connect(cmd_ok_, &QPushButton::clicked, this, [this] {
        if (on_ok) on_ok();
    });
}

void AboutDialog::ShowCaptions(const AboutForm& model) {
    if (model.caption != shown_.caption) {
        shown_.caption = model.caption;
        setWindowTitle(FromUtf8(shown_.caption));
    }
    SetText(lbl_title_, model.lblTitle, shown_.lblTitle);
    SetText(lbl_version_, model.lblVersion, shown_.lblVersion);
    SetText(lbl_description_, model.lblDescription, shown_.lblDescription);
    SetText(lbl_disclaimer_, model.lblDisclaimer, shown_.lblDisclaimer);
    if (model.cmdOK != shown_.cmdOK) {
        shown_.cmdOK = model.cmdOK;
        cmd_ok_->setText(FromUtf8(shown_.cmdOK));
    }
}

// The close box and Escape come here. The box stays until the engine unloads it.
void AboutDialog::reject() {
    if (on_close) on_close();
}

// A pale crescent moon and two stars on a night-blue tile.
QPixmap AboutDialog::IconPicture() {
    QPixmap pixmap(kIcon.size());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x0B, 0x10, 0x2A));
    painter.setBrush(QColor(0x1C, 0x24, 0x48));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);

    QPainterPath moon;
    moon.addEllipse(QPointF(14, 16), 10, 10);
    QPainterPath shadow;
    shadow.addEllipse(QPointF(19, 12.5), 9, 9);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF4, 0xE7, 0xA1));
    painter.drawPath(moon.subtracted(shadow));
    painter.drawEllipse(QPointF(25, 22), 1.5, 1.5);
    painter.drawEllipse(QPointF(22, 27), 1, 1);
    return pixmap;
}

void AboutWindow::Sync(const AboutForm& model) {
    if (dialog_ && (!model.loaded || model.load_count != shown_load_)) {
        // Called from the box's own button or close box: it goes once that event is done.
        dialog_->hide();
        dialog_->deleteLater();
        dialog_ = nullptr;
    }
    if (!model.loaded) return;
    if (!dialog_) {
        Open(model);
        return;
    }
    dialog_->ShowCaptions(model);
    if (model.raise_requests != shown_raise_) {
        shown_raise_ = model.raise_requests;
        dialog_->raise();
        dialog_->activateWindow();
    }
}

void AboutWindow::Open(const AboutForm& model) {
    dialog_ = new AboutDialog(owner_);
    dialog_->on_ok = on_ok_;
    dialog_->on_close = on_close_;
    dialog_->ShowCaptions(model);
    shown_load_ = model.load_count;
    shown_raise_ = model.raise_requests;
    // Centred over the main window.
    const QRect owner = owner_->frameGeometry();
    dialog_->move(owner.center() - QPoint(kClientSize.width() / 2, kClientSize.height() / 2));
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

}  // namespace tsukikage
