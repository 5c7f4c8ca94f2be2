#include "app/core/Guard.h"
#include "app/core/ModelValue.h"
#include "app/core/ViewModel.h"
#include "catalogue/core/BellSetModel.h"
#include "chime/core/TransportModel.h"
#include "recorder/core/RecorderModel.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace orvane;

namespace {

QStringList gLogged;

void Collect(QtMsgType, const QMessageLogContext& context, const QString& text) {
    if (QString::fromLatin1(context.category) == QLatin1String("orvane.guard")) {
        gLogged.append(text);
    }
}

}  // namespace

TEST(ModelValue, NotifiesOnceAfterEachRealChangeAndNeverForTheSameValue) {
    QList<int> seen;
    int storedAtNotice = -1;
    ModelValue<int>* self = nullptr;
    ModelValue<int> value([&](const int& v) {
        seen.append(v);
        storedAtNotice = *self;
    });
    self = &value;
    value = 0;  // the initial value: no change
    EXPECT_TRUE(seen.isEmpty());
    value = 5;
    EXPECT_EQ(storedAtNotice, 5) << "the value is stored before the notice";
    ++value;
    value += 4;
    value -= 10;
    value = 0;
    EXPECT_EQ(seen, QList<int>({5, 6, 10, 0}));
    EXPECT_EQ(value.Get(), 0);
}

TEST(Models, EachValueHasItsOwnSignalAndKeepsTheDocumentedStartValues) {
    TransportModel transport;
    RecorderModel recorder;
    ViewModel view;
    BellSetModel bells;
    QList<int> positions;
    QList<int> pages;
    int texts = 0;
    int bellSets = 0;
    QObject::connect(&transport, &TransportModel::StepPositionChanged, [&](int p) { positions.append(p); });
    QObject::connect(&transport, &TransportModel::CurrentPageChanged, [&](int p) { pages.append(p); });
    QObject::connect(&recorder, &RecorderModel::RecordTextChanged, [&] { ++texts; });
    QObject::connect(&bells, &BellSetModel::BellsChanged, [&] { ++bellSets; });

    transport.StepPosition = 70;
    transport.CurrentPage = 1;
    transport.StepPosition = 70;
    EXPECT_EQ(positions, QList<int>({70}));
    EXPECT_EQ(pages, QList<int>({1}));

    recorder.RecordText = QStringLiteral("s1");
    recorder.RecordText = QStringLiteral("s1");
    recorder.RecordText = QString();
    EXPECT_EQ(texts, 2);

    bells.Bells.inSet[3] = true;
    bells.NotifyBellsChanged();
    EXPECT_EQ(bellSets, 1);

    EXPECT_TRUE(view.ShowTools && view.ShowBells && view.ShowInfo && view.ShowGroups);
    EXPECT_FALSE(view.SchematicView);
    EXPECT_FALSE(transport.CasualMode || transport.StudyMode || recorder.Recording);
}

TEST(Wire, HandlersGetTheSignalsArgumentsOnlyWhenTheyTakeThem) {
    QObject sender;
    QObject receiver;
    QString named;
    int calls = 0;
    Wire(&sender, &QObject::objectNameChanged, &receiver, [&](const QString& name) { named = name; });
    Wire(&sender, &QObject::objectNameChanged, &receiver, [&] { ++calls; });
    sender.setObjectName(QStringLiteral("btnPlay"));
    EXPECT_EQ(named, QStringLiteral("btnPlay"));
    EXPECT_EQ(calls, 1);
}

TEST(Wire, ASwallowedExceptionIsCountedAndLoggedOnlyWhenTheCategoryIsOn) {
    QObject sender;
    QObject receiver;
    Wire(&sender, &QObject::objectNameChanged, &receiver, [] { throw std::runtime_error("list index"); });
    GuardLog::Reset();
    gLogged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(Collect);

    sender.setObjectName(QStringLiteral("a"));
    EXPECT_EQ(GuardLog::Swallowed(), 1);
    EXPECT_TRUE(gLogged.isEmpty()) << "silent unless enabled";

    QLoggingCategory::setFilterRules(QStringLiteral("orvane.guard.debug=true"));
    sender.setObjectName(QStringLiteral("b"));
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);

    EXPECT_EQ(GuardLog::Swallowed(), 2);
    ASSERT_EQ(gLogged.size(), 1);
    EXPECT_TRUE(gLogged.first().contains(QStringLiteral("list index")));
    GuardLog::Reset();
}

TEST(Wire, TheConnectionEndsWithTheReceiver) {
    QObject sender;
    int calls = 0;
    {
        QObject receiver;
        Wire(&sender, &QObject::objectNameChanged, &receiver, [&] { ++calls; });
    }
    sender.setObjectName(QStringLiteral("x"));
    EXPECT_EQ(calls, 0);
}
