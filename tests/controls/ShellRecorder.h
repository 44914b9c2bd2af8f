#pragma once

#include "BUSurfTo.h"
#include "QtPrint.h"

#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

// Records what would be handed to the desktop instead of starting any program.
class ShellRecorder : public ::testing::Test {
protected:
    void SetUp() override {
        FSaved = ShellOpenUrl;
        ShellOpenUrl = [this](const QUrl& url) { Opened << url.toString(QUrl::FullyEncoded); };
    }
    void TearDown() override { ShellOpenUrl = FSaved; }

    QStringList Opened;

private:
    std::function<void(const QUrl&)> FSaved;
};
