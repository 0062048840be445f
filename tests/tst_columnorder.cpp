// A column's order worked out from its keys: the same as a plain stable
// sort's, equal keys in stored order and marked as tied, whatever the keys'
// shared beginnings, lengths and number.
#include "store/columnorder.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <numeric>

using namespace dialvault;

namespace {

using Keys = QByteArrayList;

// `count` keys: a shared beginning of `shared` bytes, then up to `tail`
// bytes drawn from `alphabet` (few letters make many equal keys).
Keys drawn(int count, int shared, int tail, const QByteArray &alphabet)
{
    QRandomGenerator random(count * 31 + shared * 7 + tail);
    const QByteArray beginning(shared, 'x');
    Keys keys;
    for (int i = 0; i < count; ++i) {
        QByteArray key = beginning;
        const int length = int(random.bounded(tail + 1));
        for (int k = 0; k < length; ++k)
            key += alphabet[random.bounded(int(alphabet.size()))];
        keys.push_back(key);
    }
    return keys;
}

// Positions in order and ties, as a stable comparison sort has them.
std::pair<std::vector<quint32>, std::vector<bool>> expected(const Keys &keys)
{
    std::vector<quint32> positions(std::size_t(keys.size()));
    std::iota(positions.begin(), positions.end(), 0u);
    // As unsigned bytes, as the order compares them.
    const auto less = [&](quint32 a, quint32 b) {
        return std::lexicographical_compare(
            keys[a].begin(), keys[a].end(), keys[b].begin(), keys[b].end(),
            [](char x, char y) { return (unsigned char)x < (unsigned char)y; });
    };
    std::stable_sort(positions.begin(), positions.end(), less);
    std::vector<bool> tied(positions.size(), false);
    for (std::size_t rank = 1; rank < positions.size(); ++rank)
        tied[rank] = keys[positions[rank]] == keys[positions[rank - 1]];
    return {positions, tied};
}

} // namespace

class TestColumnOrder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void asStableSort_data()
    {
        QTest::addColumn<Keys>("keys");
        const QByteArray letters = "abc";
        QByteArray everyByte;
        for (int byte = 0; byte < 256; ++byte)
            everyByte += char(byte);
        QTest::newRow("few, shared beginning") << drawn(300, 12, 6, letters);
        QTest::newRow("many, shared beginning") << drawn(20000, 21, 9, letters);
        QTest::newRow("many, every byte value") << drawn(20000, 0, 12, everyByte);
        QTest::newRow("many, zero bytes and their absence")
            << drawn(5000, 3, 10, QByteArray("\0a", 2));
        QTest::newRow("equal far beyond the levels") << drawn(3000, 400, 2, letters);
        Keys prefixes;
        for (int i = 0; i < 5000; ++i)
            prefixes.push_back(QByteArray((i * 7) % 41, 'q'));
        QTest::newRow("prefixes of one another") << prefixes;
        QTest::newRow("all empty") << Keys(2000);
        QTest::newRow("none") << Keys();
    }
    void asStableSort()
    {
        QFETCH(Keys, keys);
        ByteKeys byteKeys;
        for (const QByteArray &key : keys) {
            byteKeys.bytes.append(key.constData(), std::size_t(key.size()));
            byteKeys.close();
        }
        const std::atomic<bool> stop = false;
        const std::shared_ptr<const ColumnOrder> order = orderOf(byteKeys, stop);
        QVERIFY(order);
        const auto [positions, tied] = expected(keys);
        QVERIFY(order->positions == positions);
        QVERIFY(order->tied == tied);

        // The same keys as UTF-16 units, two bytes a unit: the same order.
        std::vector<char16_t> units;
        std::vector<quint32> starts{0};
        for (const QByteArray &key : keys) {
            for (qsizetype k = 0; k + 1 < key.size(); k += 2)
                units.push_back(char16_t((unsigned char)key[k] << 8 | (unsigned char)key[k + 1]));
            if (key.size() % 2)
                units.push_back(char16_t((unsigned char)key.back() << 8));
            starts.push_back(quint32(units.size()));
        }
        Keys padded = keys;
        for (QByteArray &key : padded) {
            if (key.size() % 2)
                key += '\0';
        }
        const auto [unitPositions, unitTied] = expected(padded);
        const std::shared_ptr<const ColumnOrder> unitOrder = orderOf(units, starts, stop);
        QVERIFY(unitOrder);
        QVERIFY(unitOrder->positions == unitPositions);
        QVERIFY(unitOrder->tied == unitTied);
    }

    void stopped()
    {
        ByteKeys keys;
        for (const QByteArray &key : drawn(5000, 4, 4, "ab")) {
            keys.bytes.append(key.constData(), std::size_t(key.size()));
            keys.close();
        }
        const std::atomic<bool> stop = true;
        QVERIFY(!orderOf(keys, stop));
    }
};

QTEST_GUILESS_MAIN(TestColumnOrder)
#include "tst_columnorder.moc"
