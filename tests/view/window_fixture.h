#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QTemporaryDir>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string_view>

#include "engine/engine.h"
#include "fakes/recording_platform.h"
#include "view/qt/game_window.h"

// The real window over the real engine and the recording platform, on a game folder that
// holds only the scenario given.
struct WindowFixture {
    explicit WindowFixture(std::string_view scenario);
    std::filesystem::path root() const { return folder.path().toStdString(); }

    QTemporaryDir folder;
    std::unique_ptr<tsukikage::fakes::RecordingPlatform> platform;
    std::unique_ptr<tsukikage::Engine> engine;
    std::unique_ptr<tsukikage::GameWindow> window;
};

QImage Grab(QWidget* widget);
void Click(QWidget* widget, QPoint at);
// A pointer move with no button held.
void MoveMouse(QWidget* widget, QPointF at);
