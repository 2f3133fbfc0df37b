#include "view/window_fixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

#include <fstream>

using namespace tsukikage;

WindowFixture::WindowFixture(std::string_view scenario) {
    std::ofstream(root() / "datafile", std::ios::binary) << scenario;
    platform = std::make_unique<fakes::RecordingPlatform>();
    engine = std::make_unique<Engine>(platform->platform, root());
    window = std::make_unique<GameWindow>(*engine);
}

QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void Click(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

void MoveMouse(QWidget* widget, QPointF at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}
