#pragma once

#include <QImage>
#include <QString>

// Compares an image pixel for pixel with its expected picture, tests/golden/<name>.png.
// Returns what is wrong, or nothing when they match. On a mismatch the actual image is written
// beside the expected one as <name>.actual.png for inspection. With TSUKIKAGE_UPDATE_GOLDEN=1
// in the environment the expected picture is (re)written from the image instead.
QString GoldenMismatch(const QImage& actual, const QString& name);

// Fails the running QtTest function with the mismatch, if any.
#define COMPARE_WITH_GOLDEN(image, name)                                  \
    do {                                                                  \
        const QString golden_mismatch = GoldenMismatch(image, name);      \
        QVERIFY2(golden_mismatch.isEmpty(), qPrintable(golden_mismatch)); \
    } while (false)
