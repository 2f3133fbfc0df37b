// The about box in the real window: the menu command opens it with the model's captions, a
// second command brings the same box forward, and OK or the close box makes it go.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "engine/engine.h"
#include "fakes/recording_platform.h"
#include "view/qt/about_dialog.h"
#include "view/qt/game_window.h"
#include "view/view_tests.h"

using namespace tsukikage;

namespace {

QString LabelText(QWidget* dialog, const char* name) {
    auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

class AboutDialogTests : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        platform_ = std::make_unique<fakes::RecordingPlatform>();
        engine_ = std::make_unique<Engine>(platform_->platform, folder_->path().toStdString());
        window_ = std::make_unique<GameWindow>(*engine_);
        window_->show();
    }

    void cleanup() {
        window_.reset();
        engine_.reset();
        platform_.reset();
        folder_.reset();
    }

    void verDataOpensTheBoxAndOkClosesIt() {
        QVERIFY(!window_->about_dialog());
        window_->action(MenuId::VerData)->trigger();
        QPointer<AboutDialog> dialog = window_->about_dialog();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->isWindow());
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QString("朧堂開発用プログラムのﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(LabelText(dialog, "lblTitle"), QString("朧堂開発用プログラム"));
        QCOMPARE(LabelText(dialog, "lblVersion"), QString("ﾊﾞｰｼﾞｮﾝ 1.0.12"));
        const AboutForm design;
        QCOMPARE(LabelText(dialog, "lblDescription"), FromUtf8(design.lblDescription));
        QCOMPARE(LabelText(dialog, "lblDisclaimer"), FromUtf8(design.lblDisclaimer));
        QCOMPARE(dialog->ok_button()->text(), QString("OK"));
        // Everything fits: no label is cut off at the bottom.
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            QVERIFY2(label->heightForWidth(label->width()) <= label->height() || !label->wordWrap(),
                     qPrintable(label->objectName()));
        }

        // Asked again, the same box comes to the front.
        window_->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(window_.get()));
        window_->action(MenuId::VerData)->trigger();
        QCOMPARE(window_->about_dialog(), dialog.data());
        QVERIFY(dialog->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(dialog.data()));
        QCOMPARE(engine_->about_form.load_count, 1u);

        QTest::mouseClick(dialog->ok_button(), Qt::LeftButton);
        QVERIFY(!engine_->about_form.loaded);
        QVERIFY(!window_->about_dialog());
        QTRY_VERIFY(dialog.isNull());
    }

    void closeBoxClosesItAndTheNextCommandOpensAFreshBox() {
        window_->action(MenuId::VerData)->trigger();
        QPointer<AboutDialog> first = window_->about_dialog();
        QVERIFY(first);
        first->close();
        QVERIFY(!engine_->about_form.loaded);
        QVERIFY(!window_->about_dialog());
        QTRY_VERIFY(first.isNull());

        window_->action(MenuId::VerData)->trigger();
        AboutDialog* second = window_->about_dialog();
        QVERIFY(second);
        QVERIFY(second->isVisible());
        QCOMPARE(LabelText(second, "lblVersion"), QString("ﾊﾞｰｼﾞｮﾝ 1.0.12"));
        QCOMPARE(engine_->about_form.load_count, 2u);

        // Escape is the close box.
        QTest::keyClick(second, Qt::Key_Escape);
        QVERIFY(!engine_->about_form.loaded);
        QVERIFY(!window_->about_dialog());
    }

  private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<fakes::RecordingPlatform> platform_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<GameWindow> window_;
};

int RunAboutDialogTests(int argc, char** argv) {
    AboutDialogTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "about_dialog_tests.moc"
