#include "catalogue/BellSetController.h"

#include "app/Guard.h"
#include "app/IniFile.h"
#include "app/TfrmMain.h"
#include "sound/StripController.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>

namespace orvane {

namespace {

// Keeps the digits 1, 2 and 3 from choosing an entry of a group chime list: they only move
// the focus between the lists.
class DigitFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (text == u"1" || text == u"2" || text == u"3") {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

BellSetController::BellSetController(TfrmMain& main) : QObject(&main), main_(main) {}

void BellSetController::Connect() {}

void BellSetController::CreateGroupChimeBoxes() {
    MainForm& f = main_.form;
    auto* filter = new DigitFilter(f.pnlCustomSelections);
    for (int g = 0; g < 3; ++g) {
        auto* box = new QComboBox(f.pnlCustomSelections);
        box->setObjectName(QStringLiteral("cbGroupChime%1").arg(g));
        box->setProperty("tag", g);
        box->setGeometry(4, 4, f.pnlCustomSelections->width() - 8, 21);
        box->setEnabled(false);
        box->installEventFilter(filter);
        box->show();
        main_.GroupChimeBoxes[g] = box;
    }
}

void BellSetController::ToggleBell(int) {}

void BellSetController::SelectAllBells() {}

void BellSetController::DeselectAllBells() {}

void BellSetController::LoadStoredBellSet() {
    // Only "1" marks a bell as in the set, and exactly "s", "m", "b" give its group.
    const QString bells = main_.Settings->ReadString(QStringLiteral("Serial"), QStringLiteral("Bells"),
                                                     QStringLiteral("000000000000000"));
    const QString types = main_.Settings->ReadString(QStringLiteral("Serial"), QStringLiteral("Types"),
                                                     QStringLiteral("nnnnnnnnnnnnnnn"));
    for (int i = 0; i < BellSet::kBellCount; ++i) {
        if (i < bells.size() && bells[i] == u'1') {
            main_.Bells.inSet[i] = true;
            main_.Bells.group[i] = GroupOfLetter(types.mid(i, 1));
            Guarded([&] { main_.strip->ShowBellPicture(i, true); });
        }
    }
}

void BellSetController::FullRefresh() {}

void BellSetController::ShortRefresh() {}

}  // namespace orvane
