#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "view/qt/qt_platform.h"
#include "view/view_tests.h"

int main(int argc, char** argv) {
    // Headless and quiet unless the caller chose otherwise. Headless, the first screen is the
    // plugin's usual 800 x 600 and a second, large one holds the window at larger factors.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TSUKIKAGE_VIEW_SCREENS);
    }
    QTemporaryDir runtime;
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    tsukikage::InstallFontSubstitutions();
    int failures = RunWindowTests(argc, argv);
    failures += RunPictureDecoderTests(argc, argv);
    failures += RunPictureViewTests(argc, argv);
    failures += RunTransitionGoldenTests(argc, argv);
    failures += RunAboutDialogTests(argc, argv);
    failures += RunScalingTests(argc, argv);
    failures += RunKeysViewTests(argc, argv);
    failures += RunSettingsViewTests(argc, argv);
    failures += RunFontPagesTests(argc, argv);
    return failures;
}
