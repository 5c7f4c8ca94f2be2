#include "sound/core/MidiNoteMap.h"

#include "app/core/IniFile.h"

#include <QString>

namespace orvane {

namespace {

// The small bells 11 to 14 on the white keys from middle C.
constexpr int kHandNotes[4] = {60, 62, 64, 65};
constexpr int kFirstHandBell = 11;

const QString kSection = QStringLiteral("Midi");

QString BellKey(int bell) {
    return QStringLiteral("Bell") + QString::number(bell);
}

}  // namespace

MidiNoteMap::MidiNoteMap() {
    for (int bell = 0; bell < kBellCount; ++bell) {
        notes_[std::size_t(bell)] = DefaultNote(bell);
    }
}

int MidiNoteMap::DefaultNote(int bell) {
    if (bell < 0 || bell >= kBellCount) {
        return kNoNote;
    }
    if (bell < kFirstHandBell) {
        return kPedalLowest + bell;
    }
    return kHandNotes[bell - kFirstHandBell];
}

int MidiNoteMap::NoteOf(int bell) const {
    return bell >= 0 && bell < kBellCount ? notes_[std::size_t(bell)] : kNoNote;
}

int MidiNoteMap::BellOfNote(int note) const {
    if (note < 0 || note > 127) {
        return -1;
    }
    for (int bell = 0; bell < kBellCount; ++bell) {
        if (notes_[std::size_t(bell)] == note) {
            return bell;
        }
    }
    return -1;
}

int MidiNoteMap::ConflictOf(int bell, int note) const {
    for (int other = 0; other < kBellCount; ++other) {
        if (other != bell && notes_[std::size_t(other)] == note) {
            return other;
        }
    }
    return -1;
}

bool MidiNoteMap::SetNote(int bell, int note) {
    if (bell < 0 || bell >= kBellCount || note < 0 || note > 127) {
        return false;
    }
    notes_[std::size_t(bell)] = note;
    return true;
}

bool MidiNoteMap::IsDefault() const {
    return *this == MidiNoteMap();
}

float MidiNoteMap::VelocityGain(int velocity) {
    if (velocity <= 0) {
        return 0.0f;
    }
    const float v = float(velocity < 127 ? velocity : 127) / 127.0f;
    return v * v;
}

void MidiNoteMap::Read(const IniFile& ini) {
    *this = MidiNoteMap();
    for (int bell = 0; bell < kBellCount; ++bell) {
        const int note = ini.ReadInteger(kSection, BellKey(bell), kNoNote);
        SetNote(bell, note);  // out of range: the default stays
    }
}

bool MidiNoteMap::Write(IniFile& ini) const {
    const bool isDefault = IsDefault();
    for (int bell = 0; bell < kBellCount; ++bell) {
        const bool written = isDefault ? ini.EraseKey(kSection, BellKey(bell))
                                       : ini.WriteInteger(kSection, BellKey(bell), NoteOf(bell));
        if (!written) {
            return false;
        }
    }
    return true;
}

}  // namespace orvane
