#pragma once

#include <QDialog>
#include <QPixmap>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "window/about_form.h"

class QLabel;
class QPushButton;

namespace tsukikage {

// The about box on screen: a fixed-size window beside the main one, not modal. Its OK button
// and its close box (or Escape) only report to the engine; the model decides when it goes.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* owner);

    std::function<void()> on_ok;
    std::function<void()> on_close;

    // Shows the model's captions.
    void ShowCaptions(const AboutForm& model);
    QPushButton* ok_button() const { return cmd_ok_; }

    // The icon at the top left, drawn here: the program has no resource files.
    static QPixmap IconPicture();

  public slots:
    void reject() override;

  private:
    QLabel* lbl_title_ = nullptr;
    QLabel* lbl_version_ = nullptr;
    QLabel* lbl_description_ = nullptr;
    QLabel* lbl_disclaimer_ = nullptr;
    QPushButton* cmd_ok_ = nullptr;
    // The captions on screen, so that an unchanged model costs no text layout.
    struct Shown {
        std::string caption, lblTitle, lblVersion, lblDescription, lblDisclaimer, cmdOK;
    } shown_;
};

// Keeps the about box on screen in step with its model, at every Sync of the main window:
// makes and shows it when the model is loaded, raises it when the model asks to come
// forward, and lets it go when the model is unloaded. A fresh load is a fresh window.
class AboutWindow {
  public:
    AboutWindow(QWidget* owner, std::function<void()> on_ok, std::function<void()> on_close)
        : owner_(owner), on_ok_(std::move(on_ok)), on_close_(std::move(on_close)) {}

    void Sync(const AboutForm& model);
    // The box on screen, or nullptr.
    AboutDialog* dialog() const { return dialog_; }

  private:
    void Open(const AboutForm& model);

    QWidget* owner_;
    std::function<void()> on_ok_;
    std::function<void()> on_close_;
    AboutDialog* dialog_ = nullptr;  // a Qt child of the owner
    std::uint64_t shown_load_ = 0;
    std::uint64_t shown_raise_ = 0;
};

}  // namespace tsukikage
