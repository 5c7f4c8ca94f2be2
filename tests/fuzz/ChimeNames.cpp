// The save dialog's name checks: a name accepted by the check is one a list file holds, and a
// record made of accepted names reads back as exactly its three fields.

#include "FuzzSupport.h"

#include "app/core/TextFile.h"
#include "catalogue/core/ListFile.h"
#include "chime/core/ChimeNameCheck.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QList<QByteArray> parts = fuzz::SplitInput(data, size, 2);
    // The edits hold UTF-16 text: take the input as UTF-8, as pasted text arrives.
    const QString name = QString::fromUtf8(parts[0]);
    const QString file = QString::fromUtf8(parts[1]);
    const QString problem = ChimeNameProblem(name, file);
    if (!problem.isEmpty()) {
        ORVANE_FUZZ_CHECK(FirstUnstorableChar(name) >= 0 || FirstUnstorableChar(file) >= 0 ||
                          name.contains(u';') || file.contains(u';'));
        return 0;
    }
    ORVANE_FUZZ_CHECK(FirstUnstorableChar(name) < 0 && FirstUnstorableChar(file) < 0);
    const QString record = QStringLiteral("231;") + name + u';' + file;
    const QStringList lines = SplitLines(DecodeText(QByteArray("1;old;old.kol\r\n") + EncodeText(record)));
    ORVANE_FUZZ_CHECK(lines.size() == 2);
    QStringList fields;
    SplitString(lines[1], QStringLiteral(";"), &fields);
    if (file.isEmpty()) {
        ORVANE_FUZZ_CHECK(fields.size() == 2 || fields.size() == 3);
        return 0;  // an empty file name is refused by the save before this matters
    }
    ORVANE_FUZZ_CHECK(fields == (QStringList{QStringLiteral("231"), name, file}));
    return 0;
}
