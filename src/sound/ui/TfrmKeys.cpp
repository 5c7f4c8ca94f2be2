#include "sound/ui/TfrmKeys.h"

#include "sound/core/TransportKeys.h"
#include "sound/core/VirtualKey.h"
#include "sound/ui/StripKeyLabels.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvane {

namespace {

const QString kPrompt = QStringLiteral("Click a bell, then press its key or play its MIDI note.");

// The caption of the transport item whose shortcut is `key`.
QString ShortcutItem(int key) {
    static const std::pair<const char*, const char*> kCaptions[] = {
        {"nVolumeDown", "Turn down the volume"},
        {"nVolumeUp", "Turn up the volume"},
        {"nPlay", "Play"},
        {"nPause", "Pause"},
        {"nStop", "Stop"},
        {"nRew", "Rewind"},
        {"nFF", "Forward winding"},
        {"nTempDown", "Pull back"},
        {"nTempUp", "Accelerate the tempo"},
    };
    for (const TransportKey& t : kTransportKeys) {
        if (t.virtualKey == key) {
            for (const auto& [item, caption] : kCaptions) {
                if (qstrcmp(item, t.item) == 0) {
                    return QString::fromLatin1(caption);
                }
            }
        }
    }
    return {};
}

}  // namespace

TfrmKeys::TfrmKeys(QWidget* parent, const QStringList& bellNames, const QStringList& catalogueKeys,
                   const KeyMap& keys, const MidiNoteMap& notes)
    : QDialog(parent), names_(bellNames), catalogue_(catalogueKeys), keys_(keys), notes_(notes) {
    setObjectName(QStringLiteral("frmKeys"));
    setWindowTitle(QStringLiteral("Keys"));
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(KeyMap::kBellCount, 3, this);
    table_->setObjectName(QStringLiteral("tblKeys"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Bell"), QStringLiteral("Key"), QStringLiteral("MIDI note")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(24);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    table_->installEventFilter(this);
    layout->addWidget(table_);
    status_ = new QLabel(kPrompt, this);
    status_->setObjectName(QStringLiteral("lblKeysStatus"));
    status_->setWordWrap(true);
    layout->addWidget(status_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    defaults_ = buttons->addButton(QStringLiteral("Defaults"), QDialogButtonBox::ResetRole);
    defaults_->setObjectName(QStringLiteral("btnDefaults"));
    // Enter and Space may be keys to choose; no button takes them by default.
    for (QAbstractButton* b : buttons->buttons()) {
        if (auto* push = qobject_cast<QPushButton*>(b)) {
            push->setAutoDefault(false);
            push->setDefault(false);
        }
    }
    connect(defaults_, &QPushButton::clicked, this, &TfrmKeys::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            [this] { status_->setText(kPrompt); });
    layout->addWidget(buttons);
    Refresh();
    resize(480, 560);
}

int TfrmKeys::SelectedBell() const {
    const auto rows = table_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TfrmKeys::SelectBell(int bell) {
    table_->selectRow(bell);
}

QString TfrmKeys::BellText(int bell) const {
    return QString::number(bell + 1) + QStringLiteral(" (") + names_.value(bell) + u')';
}

bool TfrmKeys::AssignKey(int key) {
    const int bell = SelectedBell();
    if (bell < 0 || key == kVkNone) {
        return false;
    }
    int other = -1;
    const QString name = KeyMap::KeyName(key);
    switch (keys_.Check(bell, key, catalogue_, &other)) {
        case KeyMap::Refusal::kOtherBell:
            status_->setText(
                QStringLiteral("Refused: %1 already rings bell %2.").arg(name, BellText(other)));
            return false;
        case KeyMap::Refusal::kReservedKey:
            status_->setText(
                QStringLiteral("Refused: %1 is kept for its own use in the program.").arg(name));
            return false;
        case KeyMap::Refusal::kShortcutKey:
            status_->setText(QStringLiteral("Refused: %1 is the shortcut of \"%2\".")
                                 .arg(name, ShortcutItem(key)));
            return false;
        case KeyMap::Refusal::kNone:
            break;
    }
    // A key equal to the catalogue's own is not stored: the catalogue keeps deciding.
    bool catalogueKey = false;
    const int fromCatalogue = catalogue_.value(bell).toInt(&catalogueKey);
    keys_.SetKey(bell, catalogueKey && fromCatalogue == key ? KeyMap::kNoKey : key);
    Refresh();
    status_->setText(QStringLiteral("Bell %1 rings with %2.").arg(BellText(bell), name));
    return true;
}

bool TfrmKeys::AssignNote(int note) {
    const int bell = SelectedBell();
    if (bell < 0) {
        return false;
    }
    const QString name =
        StripKeyLabels::NoteName(note) + QStringLiteral(" (") + QString::number(note) + u')';
    if (const int other = notes_.ConflictOf(bell, note); other >= 0) {
        status_->setText(
            QStringLiteral("Refused: note %1 already rings bell %2.").arg(name, BellText(other)));
        return false;
    }
    if (!notes_.SetNote(bell, note)) {
        return false;
    }
    Refresh();
    status_->setText(QStringLiteral("Bell %1 rings with note %2.").arg(BellText(bell), name));
    return true;
}

void TfrmKeys::RestoreDefaults() {
    keys_.Clear();
    notes_ = MidiNoteMap();
    Refresh();
    status_->setText(QStringLiteral("The keys of the bell catalogue and the default notes."));
}

QString TfrmKeys::Status() const {
    return status_->text();
}

void TfrmKeys::Refresh() {
    for (int bell = 0; bell < KeyMap::kBellCount; ++bell) {
        const int key = keys_.KeyOf(bell, catalogue_);
        int other = -1;
        const bool clash = key != KeyMap::kNoKey && keys_.Check(bell, key, catalogue_, &other) ==
                                                        KeyMap::Refusal::kOtherBell;
        const QString cells[3] = {
            BellText(bell), key == KeyMap::kNoKey ? QStringLiteral("-") : KeyMap::KeyName(key),
            StripKeyLabels::NoteName(notes_.NoteOf(bell)) + QStringLiteral(" (") +
                QString::number(notes_.NoteOf(bell)) + u')'};
        for (int column = 0; column < 3; ++column) {
            QTableWidgetItem* item = table_->item(bell, column);
            if (!item) {
                item = new QTableWidgetItem;
                table_->setItem(bell, column, item);
            }
            item->setText(cells[column]);
            if (column == 1) {
                item->setBackground(clash ? QBrush(QColor(255, 190, 190)) : QBrush());
                item->setToolTip(
                    clash ? QStringLiteral("Also the key of bell %1").arg(BellText(other))
                          : QString());
            }
        }
    }
}

bool TfrmKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress && SelectedBell() >= 0) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        // Tab, Enter, Escape and the up and down arrows keep working the dialog and the table;
        // every other key is the bell's choice.
        switch (key->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Escape:
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Up:
            case Qt::Key_Down:
                return false;
            default:
                break;
        }
        AssignKey(VirtualKeyOf(*key));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvane
