#pragma once

#include "app/core/Guard.h"
#include "support/TestWindow.h"
#include "sound/core/OfflineOutput.h"
#include "support/ProgramFolder.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A real main window on a temporary copy of the program folder, offscreen, with the offline
// sound output (the test renders sound on demand) and message boxes recorded instead of
// shown. Tests click, type and call handlers, then check widgets, files and the sound.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        orvane::GuardLog::Reset();
    }

    // Starts the main window (and its secondary windows); shown windows are laid out.
    std::unique_ptr<TestWindow> Start(QStringList arguments = {}, bool shown = true) {
        orvane::StartOptions options;
        options.appDir = folder.Dir();
        options.arguments = std::move(arguments);
        options.cacheDir = folder.CacheDir();
        options.messageBox = [this](const QString&, const QString& text) { messages.append(text); };
        options.outputFactory = [this]() -> std::unique_ptr<orvane::AudioOutput> {
            auto output = std::make_unique<orvane::OfflineOutput>();
            offline = output.get();
            return output;
        };
        auto w = std::make_unique<TestWindow>(options);
        w->CreateSecondaryWindows();
        if (shown) {
            w->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        }
        return w;
    }

    // Writes a settings file before the start (CR LF line ends are added).
    void WriteSettings(const QStringList& lines) {
        ProgramFolder::Write(folder.Path("orvane.ini"), (lines.join("\r\n") + "\r\n").toLatin1());
    }

    ProgramFolder folder;
    QStringList messages;
    orvane::OfflineOutput* offline = nullptr;  // owned by the window's audio engine
};
