#include "chime/core/ShortTextPool.h"

#include <gtest/gtest.h>
#include <QStringList>

using namespace orvane;

TEST(ShortTextPool, EqualShortTextsShareOneCopyThatOutlivesThePool) {
    const QString a = QStringLiteral("b1,b2");
    QString first;
    QString second;
    QString empty;
    {
        ShortTextPool pool;
        first = pool.Get(a.constData(), a.size());
        second = pool.Get(QString(a).constData(), a.size());
        const QChar nothing;
        empty = pool.Get(&nothing, 0);
    }
    EXPECT_EQ(first, a);
    EXPECT_EQ(first.constData(), second.constData());
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(empty.isEmpty());
    // Changing a copy changes only that copy.
    second.append(u'!');
    EXPECT_EQ(first, a);
    EXPECT_EQ(second, "b1,b2!");
}

TEST(ShortTextPool, LongTextsAndTextsBeyondTheLimitGetTheirOwnStrings) {
    ShortTextPool pool;
    const QString long1 = QString(ShortTextPool::kMaxLength + 1, u's');
    const QString copy1 = pool.Get(long1.constData(), long1.size());
    const QString copy2 = pool.Get(long1.constData(), long1.size());
    EXPECT_EQ(copy1, long1);
    EXPECT_NE(copy1.constData(), copy2.constData());
    // More different texts than the pool keeps: each still reads back as given, also while
    // another pool object is open on the same thread.
    ShortTextPool nested;
    QStringList given;
    QStringList got;
    for (int i = 0; i < ShortTextPool::kMaxEntries + 100; ++i) {
        given.append(QStringLiteral("x%1").arg(i));
        got.append(nested.Get(given.back().constData(), given.back().size()));
    }
    EXPECT_EQ(got, given);
}
