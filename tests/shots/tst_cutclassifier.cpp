#include "shots/CutClassifier.h"

#include <QtTest>

#include <functional>

namespace {

constexpr double frameDuration = 0.04;

// A picture of coarse random blocks, the same for the same scene, seen through a window
// moved by (dx, dy) and tinted.
struct View
{
    int scene = 0;
    int dx = 0;
    int dy = 0;
    int tint = 0; // added to the chroma
    double light = 0; // 0 as it is, 1 white
};

uint8_t texture(int scene, int x, int y)
{
    uint32_t hash = uint32_t(scene) * 2654435761u ^ uint32_t(x >> 2) * 2246822519u ^ uint32_t(y >> 2) * 3266489917u;
    hash ^= hash >> 15;
    hash *= 2246822519u;
    hash ^= hash >> 13;
    return uint8_t(40 + hash % 176);
}

SmallFrame frameOf(const View &view, int index)
{
    SmallFrame frame;
    frame.time = index * frameDuration;
    const auto lit = [&](int value) { return uint8_t(std::lround(value + (235 - value) * view.light)); };
    for (int y = 0; y < SmallFrame::height; ++y)
        for (int x = 0; x < SmallFrame::width; ++x)
            frame.luma[y * SmallFrame::width + x] = lit(texture(view.scene, x + view.dx, y + view.dy));
    for (int y = 0; y < SmallFrame::chromaHeight; ++y) {
        for (int x = 0; x < SmallFrame::chromaWidth; ++x) {
            const int base = texture(view.scene + 7, 2 * x + view.dx, 2 * y + view.dy) / 2 + 64;
            frame.u[y * SmallFrame::chromaWidth + x] = uint8_t(std::clamp(base + view.tint, 0, 255));
            frame.v[y * SmallFrame::chromaWidth + x] = uint8_t(std::clamp(255 - base - view.tint, 0, 255));
        }
    }
    return frame;
}

// Frame i as a mix of two views, for fades.
SmallFrame blend(const SmallFrame &a, const SmallFrame &b, double share)
{
    SmallFrame mixed = a;
    const auto mix = [share](auto &out, const auto &from, const auto &to) {
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = uint8_t(std::lround(from[i] * (1 - share) + to[i] * share));
    };
    mix(mixed.luma, a.luma, b.luma);
    mix(mixed.u, a.u, b.u);
    mix(mixed.v, a.v, b.v);
    return mixed;
}

using Film = std::function<SmallFrame(int index)>;

QList<int> cutsIn(const Film &film, int frames)
{
    CutClassifier classifier;
    for (int i = 0; i < frames; ++i)
        classifier.push(film(i));
    classifier.finish();
    QList<int> found;
    for (double time : classifier.takeCuts())
        found.append(int(std::lround(time / frameDuration)));
    return found;
}

} // namespace

Q_DECLARE_METATYPE(Film)

class tst_CutClassifier : public QObject
{
    Q_OBJECT

private slots:
    void decidesCuts_data()
    {
        QTest::addColumn<Film>("film");
        QTest::addColumn<QList<int>>("cuts");
        QTest::addColumn<int>("fadeMiddle"); // where one cut may be found, or none; -1 for no fade

        QTest::newRow("a still shot") << Film([](int i) { return frameOf({1}, i); }) << QList<int>{} << -1;
        QTest::newRow("two cuts between still shots")
            << Film([](int i) { return frameOf({i < 30 ? 1 : i < 55 ? 2 : 3}, i); }) << QList<int>{30, 55} << -1;
        QTest::newRow("a cut between moving shots")
            << Film([](int i) { return frameOf({i < 30 ? 1 : 2, i, i / 2}, i); }) << QList<int>{30} << -1;
        QTest::newRow("a cut to the same scene, reframed")
            << Film([](int i) { return frameOf({1, i < 30 ? 0 : 30, i < 30 ? 0 : 10}, i); }) << QList<int>{30} << -1;
        QTest::newRow("a cut to the same scene, recoloured")
            << Film([](int i) { return frameOf({1, 0, 0, i < 30 ? 0 : 50}, i); }) << QList<int>{30} << -1;
        QTest::newRow("a flash of two white frames")
            << Film([](int i) { return frameOf({1, i, 0, 0, i == 30 || i == 31 ? 1.0 : 0.0}, i); }) << QList<int>{}
            << -1;
        QTest::newRow("a flash of one bright frame")
            << Film([](int i) { return frameOf({1, 0, 0, 0, i == 30 ? 0.6 : 0.0}, i); }) << QList<int>{} << -1;
        QTest::newRow("a flash just after a cut")
            << Film([](int i) { return frameOf({i < 30 ? 1 : 2, 0, 0, 0, i == 36 || i == 37 ? 1.0 : 0.0}, i); })
            << QList<int>{30} << -1;
        QTest::newRow("a still picture sharpened at a keyframe")
            << Film([](int i) { return frameOf({1, 0, 0, i < 50 ? 0 : 3, i < 50 ? 0.0 : 0.04}, i); }) << QList<int>{}
            << -1;
        QTest::newRow("fast motion")
            << Film([](int i) { return frameOf({1, 3 * i, i % 3}, i); }) << QList<int>{} << -1;
        QTest::newRow("motion after a still picture")
            << Film([](int i) { return frameOf({1, i < 30 ? 0 : 3 * (i - 30)}, i); }) << QList<int>{} << -1;
        QTest::newRow("a cross-fade")
            << Film([](int i) {
                   return blend(frameOf({1}, i), frameOf({2}, i), std::clamp((i - 20) / 25.0, 0.0, 1.0));
               })
            << QList<int>{} << 32;
    }

    void decidesCuts()
    {
        QFETCH(Film, film);
        QFETCH(QList<int>, cuts);
        QFETCH(int, fadeMiddle);
        QList<int> found = cutsIn(film, 80);
        if (fadeMiddle >= 0)
            found.removeIf([&](int frame) { return std::abs(frame - fadeMiddle) <= 2; });
        QCOMPARE(found, cuts);
    }
};

QTEST_GUILESS_MAIN(tst_CutClassifier)
#include "tst_cutclassifier.moc"
