#include "chime/core/ChimeSaver.h"

#include "app/core/TextFile.h"
#include "chime/core/ChimeNameCheck.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/TChannels.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>

namespace orvane {

namespace {

struct StudyGroup {
    bool ChimeSaveRequest::*checked;
    const char* prefix;
    const char* listFile;
};

constexpr std::array<StudyGroup, 3> kStudyGroups{{
    {&ChimeSaveRequest::small, "small_", "small.kli"},
    {&ChimeSaveRequest::middle, "middle_", "middle.kli"},
    {&ChimeSaveRequest::big, "big_", "big.kli"},
}};

// True when path (existing or not) resolves to a place inside folder, following symbolic links
// of the parts that exist.
bool InsideFolder(const QString& path, const QString& canonicalFolder) {
    const QFileInfo info(path);
    QString resolved;
    if (info.exists() || info.isSymLink()) {
        resolved = info.canonicalFilePath();
    } else {
        const QString dir = QFileInfo(info.absolutePath()).canonicalFilePath();
        resolved = dir.isEmpty() ? QString() : dir + u'/' + info.fileName();
    }
    if (resolved.isEmpty()) {
        return false;  // a dangling link or a missing folder
    }
    return resolved.startsWith(canonicalFolder + u'/');
}

bool HasParentStep(const QString& nativeName) {
    const QStringList parts = nativeName.split(u'/');
    return parts.contains(QStringLiteral(".."));
}

}  // namespace

QString WithChimeExtension(const QString& fileName) {
    const qsizetype slash = std::max(fileName.lastIndexOf(u'\\'), fileName.lastIndexOf(u'/'));
    const QString filePart = fileName.mid(slash + 1);
    const qsizetype dot = filePart.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : filePart.mid(dot);
    return extension == QLatin1String(".kol") ? fileName : fileName + QStringLiteral(".kol");
}

bool AppendListRecord(const QString& path, const QString& record) {
    QString text = record;
    QFile file(path);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        const qint64 size = file.size();
        if (size > 0) {
            file.seek(size - 1);
            const QByteArray last = file.read(1);
            if (last != "\n" && last != "\r") {
                text.prepend(QStringLiteral("\r\n"));
            }
        }
        file.close();
    }
    return AppendText(path, text);
}

ChimeSaveOutcome SaveChime(const ChimeSaveRequest& request) {
    if (request.chimeName.isEmpty() || request.fileName.isEmpty()) {
        return ChimeSaveOutcome::kFieldsMissing;
    }
    if (!ChimeNameProblem(request.chimeName, request.fileName).isEmpty()) {
        return ChimeSaveOutcome::kNameRefused;
    }
    // The registration name keeps "\" separators; the file system gets native ones.
    QString registered = WithChimeExtension(request.fileName);
    registered.replace(u'/', u'\\');
    const QString nativeName = NativePath(registered);
    const QString canonicalChime = QFileInfo(request.chimeDir).canonicalFilePath();
    if (canonicalChime.isEmpty() || QDir::isAbsolutePath(nativeName) || HasParentStep(nativeName)) {
        return ChimeSaveOutcome::kDirectoryMissing;
    }
    const qsizetype slash = nativeName.lastIndexOf(u'/');
    const QString folderPart = nativeName.left(slash + 1);  // "my/" or empty
    const QString filePart = nativeName.mid(slash + 1);     // "festive.kol"
    const QString regFolder = registered.left(slash + 1);   // "my\" or empty
    const QString directory = QDir(canonicalChime).filePath(folderPart);
    if (!QFileInfo(directory).isDir() ||
        !InsideFolder(QDir::cleanPath(directory + QStringLiteral("/.probe")), canonicalChime)) {
        return ChimeSaveOutcome::kDirectoryMissing;
    }
    if (request.recording.isEmpty()) {
        return ChimeSaveOutcome::kEmptyRecording;
    }

    const QString header = request.recording.first();
    TChannels channels;
    channels.Steps = request.recording.mid(1);
    SplitByGroup(channels);
    QStringList whole{header};
    whole += channels.Steps;

    struct Output {
        QString path;
        QString listFile;
        QString record;
    };
    QList<Output> outputs;  // small, medium-size, great, whole: the registration order
    for (std::size_t g = 0; g < kStudyGroups.size(); ++g) {
        if (!(request.*kStudyGroups[g].checked)) {
            continue;
        }
        const QString prefix = QString::fromLatin1(kStudyGroups[g].prefix);
        outputs.append({QDir(directory).filePath(prefix + filePart),
                        QString::fromLatin1(kStudyGroups[g].listFile),
                        request.signature.mid(static_cast<qsizetype>(g), 1) + u';' +
                            request.chimeName + u';' + regFolder + prefix + filePart});
    }
    if (request.whole) {
        outputs.append({QDir(directory).filePath(filePart), QStringLiteral("common.kli"),
                        request.signature + u';' + request.chimeName + u';' + registered});
    }
    for (const Output& output : outputs) {
        if (!InsideFolder(output.path, canonicalChime)) {
            return ChimeSaveOutcome::kDirectoryMissing;
        }
    }

    // Files first (whole chime, then the study chimes), then the records.
    if (request.whole && !WriteTextLines(outputs.last().path, whole)) {
        return ChimeSaveOutcome::kWriteFailed;
    }
    int studyIndex = 0;
    for (std::size_t g = 0; g < kStudyGroups.size(); ++g) {
        if (!(request.*kStudyGroups[g].checked)) {
            continue;
        }
        QStringList lines{header};
        lines += channels.GroupSteps(static_cast<int>(g));
        if (!WriteTextLines(outputs[studyIndex++].path, lines)) {
            return ChimeSaveOutcome::kWriteFailed;
        }
    }
    if (request.registerChimes) {
        for (const Output& output : outputs) {
            if (!AppendListRecord(QDir(canonicalChime).filePath(output.listFile), output.record)) {
                return ChimeSaveOutcome::kWriteFailed;
            }
        }
    }
    return ChimeSaveOutcome::kSaved;
}

QString SaveMessage(ChimeSaveOutcome outcome) {
    switch (outcome) {
        case ChimeSaveOutcome::kFieldsMissing:
            return QString::fromUtf8("Не все поля формы заполнены");
        case ChimeSaveOutcome::kDirectoryMissing:
            return QString::fromUtf8("Указанная директория не найдена");
        default:
            return {};
    }
}

}  // namespace orvane
