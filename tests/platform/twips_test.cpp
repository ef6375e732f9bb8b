#include "platform/twips.h"

#include <QRect>
#include <QTest>
#include <QWidget>

#include <limits>

using namespace penarin;

class TwipsTest : public QObject
{
    Q_OBJECT

private slots:
    void convertsAtTheGivenDpi();
    void pixelsSurviveTheRoundTrip();
    void hugeValuesSaturate();
    void usesTheWidgetsLogicalDpi();
};

void TwipsTest::convertsAtTheGivenDpi()
{
    QCOMPARE(twipsToPixels(1440, 96), 96);
    QCOMPARE(twipsToPixels(15, 96), 1);
    QCOMPARE(twipsToPixels(9360, 96), 624);
    QCOMPARE(pixelsToTwips(1, 96), 15);
    QCOMPARE(pixelsToTwips(1, 120), 12);
    QCOMPARE(twipsToPixels(700, 144), 70);
    // Rounded to the nearest pixel, halves away from zero.
    QCOMPARE(twipsToPixels(7, 96), 0);
    QCOMPARE(twipsToPixels(8, 96), 1);
    QCOMPARE(twipsToPixels(45, 32), 1);
    QCOMPARE(twipsToPixels(-15, 96), -1);
    QCOMPARE(twipsToPixels(0, 96), 0);
    // No screen known: the customary 96 DPI.
    QCOMPARE(twipsToPixels(1440, 0), 96);
    QCOMPARE(pixelsToTwips(2, -1), 30);
}

void TwipsTest::pixelsSurviveTheRoundTrip()
{
    // A size measured in pixels and stored in twips reads back the same.
    for (const double dpi : {72.0, 96.0, 120.0, 144.0, 192.0}) {
        for (int pixels = 0; pixels <= 2000; ++pixels) {
            QCOMPARE(twipsToPixels(pixelsToTwips(pixels, dpi), dpi), pixels);
        }
    }
}

void TwipsTest::hugeValuesSaturate()
{
    constexpr int most = std::numeric_limits<int>::max();
    constexpr int least = std::numeric_limits<int>::min();
    QCOMPARE(twipsToPixels(2000000000, 96), 133333333);
    QCOMPARE(pixelsToTwips(2000000000, 96), most);
    QCOMPARE(pixelsToTwips(-2000000000, 96), least);
    QCOMPARE(pixelsToTwips(most, 0.001), most);
    QCOMPARE(twipsToPixels(most, 1e12), most);
    QCOMPARE(twipsToPixels(least, 1e12), least);
    QCOMPARE(twipsToPixels(1440, std::numeric_limits<double>::infinity()), 96);
    QCOMPARE(twipsToPixels(1440, std::numeric_limits<double>::quiet_NaN()), 96);
}

void TwipsTest::usesTheWidgetsLogicalDpi()
{
    QWidget widget;
    const int dpiX = widget.logicalDpiX();
    const int dpiY = widget.logicalDpiY();
    QVERIFY(dpiX > 0);
    QCOMPARE(twipsToPixels(2880, widget), 2 * dpiX);
    QCOMPARE(twipsToPixels(2880, widget, Qt::Vertical), 2 * dpiY);
    QCOMPARE(pixelsToTwips(dpiX, widget), 1440);
    QCOMPARE(twipsToPixels(QRect(1440, 720, 2880, 1440), widget),
             QRect(dpiX, dpiY / 2, 2 * dpiX, dpiY));
}

QTEST_MAIN(TwipsTest)

#include "twips_test.moc"
