#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "view/qt/qt_platform.h"
#include "view/view_tests.h"

int main(int argc, char** argv) {
    // Headless and quiet unless the caller chose otherwise.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
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
    return failures;
}
