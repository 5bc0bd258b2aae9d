#include "FakePlatform.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

#include <QtTest>

#include <limits>

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void drawsStayBelowOneOverMillionsOfDraws() {
        FixedTime time;
        RandomGenerator random(time);
        float lowest = 1, highest = 0;
        for (int i = 0; i < 3'000'000; ++i) {
            if (i % 1000 == 0)
                random.reseed(static_cast<qint16>(i));
            const float r = random.next();
            lowest = std::min(lowest, r);
            highest = std::max(highest, r);
        }
        QVERIFY(lowest >= 0.0f);
        QVERIFY(highest < 1.0f);
        QVERIFY(highest > 0.999f);
        QVERIFY(lowest < 0.001f);
    }

    void theLargestUnderlyingValueStillGivesLessThanOne() {
        const float top = RandomGenerator::toUnit(std::numeric_limits<std::uint64_t>::max());
        QVERIFY(top < 1.0f);
        QCOMPARE(static_cast<int>(std::floor(top * 6.0)) + 1, 6);
        QCOMPARE(RandomGenerator::toUnit(0), 0.0f);
    }

    void twoReseedsWithTheSameNumberGiveDifferentDraws() {
        FixedTime time;
        RandomGenerator random(time);
        random.reseed(0);
        const float first = random.next();
        random.reseed(0);
        QVERIFY(random.next() != first);
        random.reseedFromTime();
        const float atNoon = random.next();
        random.reseedFromTime();
        QVERIFY(random.next() != atNoon);
    }

    void aFixedTimeSourceGivesARepeatableSequence() {
        FixedTime time;
        RandomGenerator one(time), two(time);
        for (int i = 0; i < 100; ++i) {
            one.reseedFromTime();
            two.reseedFromTime();
            QCOMPARE(one.next(), two.next());
        }
    }

    void numberReading_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("leading space") << " 12" << 12.0;
        QTest::newRow("minus") << "-4" << -4.0;
        QTest::newRow("line end") << " 9\r\n" << 9.0;
        QTest::newRow("words") << "abc" << 0.0;
        QTest::newRow("decimal then junk") << "  7.5x" << 7.5;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("space inside stops") << "1 2" << 1.0;
    }
    void numberReading() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(NumberText::numberValue(text), value);
    }

    void numberText() {
        QCOMPARE(NumberText::plain(-4), QStringLiteral("-4"));
        QCOMPARE(NumberText::plain(12), QStringLiteral("12"));
        QCOMPARE(NumberText::atLeastOneDigit(0), QStringLiteral("0"));
        QCOMPARE(NumberText::twoDigits(5), QStringLiteral("05"));
        QCOMPARE(NumberText::twoDigits(0.0f), QStringLiteral("00"));
        QCOMPARE(NumberText::twoDigits(59), QStringLiteral("59"));
    }

    void arithmeticOutsideSixteenBitsIsAnError() {
        QCOMPARE(add16(32766, 1), qint16(32767));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, add16(32767, 1));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, add16(-32765, -4));
        QCOMPARE(add16(-32764, -4), qint16(-32768));
    }

    void theSoundsAreShortSixteenBitPcm_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("shot") << "sparo.wav";
        QTest::newRow("explosion") << "esplosi.wav";
        QTest::newRow("laser") << "laser.wav";
    }
    void theSoundsAreShortSixteenBitPcm() {
        QFETCH(QString, name);
        QFile file(QStringLiteral(SOUNDS_DIR "/") + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray wav = file.readAll();
        QCOMPARE(wav.left(4), QByteArray("RIFF"));
        QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
        const auto u16 = [&](int at) {
            return quint16(quint8(wav[at]) | quint8(wav[at + 1]) << 8);
        };
        const auto u32 = [&](int at) { return quint32(u16(at) | quint32(u16(at + 2)) << 16); };
        QCOMPARE(u16(20), quint16(1));  // PCM
        QCOMPARE(u16(34), quint16(16)); // bits per sample
        const double seconds = double(u32(40)) / u32(28);
        QVERIFY(seconds > 0.1 && seconds < 1.0);
        // Audible: the loudest sample is well above silence.
        int loudest = 0;
        for (int at = 44; at + 1 < wav.size(); at += 2)
            loudest = std::max(loudest, std::abs(int(qint16(u16(at)))));
        QVERIFY(loudest > 10000);
    }

    void theRecordFolderFollowsXdgDataHomeAndEndsInASlash() {
        QTemporaryDir home;
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        QStandardPaths::setTestModeEnabled(false);
        QCoreApplication::setApplicationName(QStringLiteral("zenobra"));
        StandardFolders folders;
        const QString dir = folders.systemDir();
        if (saved.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", saved);
        QCOMPARE(dir, home.path() + QStringLiteral("/zenobra/"));
        QVERIFY(QFileInfo(dir).isDir());
    }
};

QTEST_GUILESS_MAIN(PlatformTest)
#include "tst_platform.moc"
