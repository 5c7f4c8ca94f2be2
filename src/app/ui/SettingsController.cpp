#include "app/ui/SettingsController.h"

#include "app/core/IniFile.h"
#include "app/core/ProgramData.h"
#include "app/core/TextFile.h"
#include "app/core/ViewModel.h"
#include "app/core/ViewRequests.h"
#include "catalogue/core/BellSetModel.h"
#include "app/ui/WindowFrameFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <stdexcept>

namespace orvane {

namespace {

void Check(bool written) {
    if (!written) {
        throw std::runtime_error("settings file not written");
    }
}

}  // namespace

void SettingsController::CreateDefaultSettings() {
    QRect work(0, 0, 780, 580);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        work = screen->availableGeometry();
    }
    const QStringList lines = {
        QStringLiteral("[View]"),       QStringLiteral("Tools=1"),
        QStringLiteral("Bells=1"),      QStringLiteral("Info=1"),
        QStringLiteral("Groups=1"),     QStringLiteral("[Form]"),
        QStringLiteral("Left=0"),       QStringLiteral("Top=0"),
        QStringLiteral("Width=") + QString::number(work.width()),
        QStringLiteral("Height=") + QString::number(work.height()),
        QStringLiteral("[Serial]"),     QStringLiteral("Bells=000000000000011"),
        QStringLiteral("Types=nnnnnnnnnnnnnnn"), QStringLiteral("[Settings]"),
        QStringLiteral("Grid=0"),       QStringLiteral("Stereo=1"),
        QStringLiteral("Animate=1"),    QStringLiteral("Notes=1"),
        QStringLiteral("View=0"),
    };
    Check(WriteTextLines(data_.AppPath.IniFile, lines));
}

void SettingsController::ReadSettings() {
    IniFile& ini = *data_.Settings;
    const SettingsWidgets& f = widgets_;
    const bool tools = ini.ReadBool(QStringLiteral("View"), QStringLiteral("Tools"), true);
    const bool bells = ini.ReadBool(QStringLiteral("View"), QStringLiteral("Bells"), true);
    const bool info = ini.ReadBool(QStringLiteral("View"), QStringLiteral("Info"), true);
    const bool groups = ini.ReadBool(QStringLiteral("View"), QStringLiteral("Groups"), true);
    viewRequests_.RequestPanels(tools, bells, info, groups);
    // The check boxes and the selector take their values only; their handlers run later.
    const QSignalBlocker b1(f.cbGrid), b2(f.cbView), b3(f.cbStereo), b4(f.cbShowNotes), b5(f.cbShowMovie);
    f.cbGrid->setChecked(ini.ReadBool(QStringLiteral("Settings"), QStringLiteral("Grid"), false));
    f.cbView->setCurrentIndex(ini.ReadInteger(QStringLiteral("Settings"), QStringLiteral("View"), 0));
    f.cbStereo->setChecked(ini.ReadBool(QStringLiteral("Settings"), QStringLiteral("Stereo"), true));
    f.cbShowNotes->setChecked(ini.ReadBool(QStringLiteral("Settings"), QStringLiteral("Notes"), true));
    f.cbShowMovie->setChecked(ini.ReadBool(QStringLiteral("Settings"), QStringLiteral("Animate"), true));
    SetSoundFolder();
}

void SettingsController::SetSoundFolder() {
    data_.AppPath.SoundDir =
        (widgets_.cbStereo->isChecked() ? data_.StereoTempDir : data_.MonoTempDir) + u'/';
}

void SettingsController::ReadWindowBounds() {
    IniFile& ini = *data_.Settings;
    const int left = ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Left"), 0);
    const int top = ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Top"), 0);
    const int width = ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Width"), 694);
    const int height = ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Height"), 486);
    // Left and Top place the frame, Width and Height size the client area; the window, frame
    // included, is kept inside the available screen area (the minimum size 780 by 580 holds).
    WindowFrameFit::Place(window_, QPoint(left, top), QSize(width, height));
}

void SettingsController::WriteViewSettings() {
    IniFile& ini = *data_.Settings;
    const SettingsWidgets& f = widgets_;
    Check(ini.WriteBool(QStringLiteral("View"), QStringLiteral("Tools"), view_.ShowTools));
    Check(ini.WriteBool(QStringLiteral("View"), QStringLiteral("Bells"), view_.ShowBells));
    Check(ini.WriteBool(QStringLiteral("View"), QStringLiteral("Groups"), view_.ShowGroups));
    Check(ini.WriteBool(QStringLiteral("View"), QStringLiteral("Info"), view_.ShowInfo));
    Check(ini.WriteBool(QStringLiteral("Settings"), QStringLiteral("Grid"), f.cbGrid->isChecked()));
    Check(ini.WriteBool(QStringLiteral("Settings"), QStringLiteral("Stereo"), f.cbStereo->isChecked()));
    Check(ini.WriteBool(QStringLiteral("Settings"), QStringLiteral("Animate"), f.cbShowMovie->isChecked()));
    Check(ini.WriteBool(QStringLiteral("Settings"), QStringLiteral("Notes"), f.cbShowNotes->isChecked()));
    Check(ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("View"), f.cbView->currentIndex()));
}

void SettingsController::WriteWindowBounds() {
    IniFile& ini = *data_.Settings;
    const QRect normal = window_.geometry();  // the maximised bounds while maximised
    Check(ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Left"), window_.x()));
    Check(ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Top"), window_.y()));
    Check(ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Width"), normal.width()));
    Check(ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Height"), normal.height()));
}

void SettingsController::StoreBellSet() {
    IniFile& ini = *data_.Settings;
    Check(ini.WriteString(QStringLiteral("Serial"), QStringLiteral("Bells"), bells_.Bells.StoredBells()));
    Check(ini.WriteString(QStringLiteral("Serial"), QStringLiteral("Types"), bells_.Bells.StoredTypes()));
}

}  // namespace orvane
