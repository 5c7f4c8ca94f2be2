#include "practice/core/ClickSound.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <cmath>
#include <numbers>

namespace orvane {

namespace {

void Put32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void Put16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

}  // namespace

QByteArray ClickSound::Wave(int sampleRate) {
    const int frames = sampleRate * 25 / 1000;
    QByteArray data;
    data.reserve(frames * 2);
    for (int i = 0; i < frames; ++i) {
        const double envelope = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / frames);
        const double value = 0.25 * envelope * std::sin(2.0 * std::numbers::pi * 1600.0 * i / sampleRate);
        Put16(data, quint16(qint16(std::lround(value * 32767.0))));
    }
    QByteArray out("RIFF");
    Put32(out, quint32(36 + data.size()));
    out.append("WAVEfmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, quint32(sampleRate));
    Put32(out, quint32(sampleRate * 2));
    Put16(out, 2);
    Put16(out, 16);
    out.append("data");
    Put32(out, quint32(data.size()));
    out.append(data);
    return out;
}

bool ClickSound::Write(const QString& path, int sampleRate) {
    const QByteArray wave = Wave(sampleRate);
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == wave) {
        return true;
    }
    existing.close();
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wave) == wave.size() && file.commit();
}

}  // namespace orvane
