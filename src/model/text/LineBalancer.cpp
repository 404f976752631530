#include "model/text/LineBalancer.h"

#include "model/quality/QualityCheck.h"

#include <QList>

#include <limits>
#include <vector>

namespace {

struct Cost
{
    long long longest = std::numeric_limits<long long>::max();
    long long squares = 0;

    bool operator<(const Cost &other) const
    {
        return longest != other.longest ? longest < other.longest : squares < other.squares;
    }
};

} // namespace

std::optional<QString> LineBalancer::rebreak(const QString &text, int maxLineLength, int maxLines)
{
    QStringList words;
    qsizetype k = 0;
    while (k < text.size()) {
        while (k < text.size() && text[k].isSpace())
            ++k;
        const qsizetype first = k;
        while (k < text.size() && !text[k].isSpace())
            ++k;
        if (k > first)
            words.append(text.sliced(first, k - first));
    }
    const int n = int(words.size());
    if (n == 0)
        return std::nullopt;
    std::vector<long long> prefix(size_t(n) + 1, 0); // visible characters of the first k words
    for (int w = 0; w < n; ++w)
        prefix[size_t(w) + 1] = prefix[size_t(w)] + QualityCheck::visibleLength(words[w]);
    const auto width = [&prefix](int from, int to) { // words [from, to) on one line
        return prefix[size_t(to)] - prefix[size_t(from)] + (to - from - 1);
    };

    for (int lines = 1; lines <= std::min(maxLines, n); ++lines) {
        // best[l][k]: the best breaking of the first k words into l lines; from[l][k]:
        // where its last line starts.
        std::vector<std::vector<Cost>> best(size_t(lines) + 1, std::vector<Cost>(size_t(n) + 1));
        std::vector<std::vector<int>> from(size_t(lines) + 1, std::vector<int>(size_t(n) + 1, -1));
        best[0][0] = Cost{0, 0};
        for (int l = 1; l <= lines; ++l) {
            for (int k = l; k <= n; ++k) {
                for (int j = l - 1; j < k; ++j) {
                    const Cost &before = best[size_t(l) - 1][size_t(j)];
                    if (before.longest == std::numeric_limits<long long>::max())
                        continue;
                    const long long w = width(j, k);
                    const Cost cost{std::max(before.longest, w), before.squares + w * w};
                    if (cost < best[size_t(l)][size_t(k)]) {
                        best[size_t(l)][size_t(k)] = cost;
                        from[size_t(l)][size_t(k)] = j;
                    }
                }
            }
        }
        if (best[size_t(lines)][size_t(n)].longest > maxLineLength)
            continue;
        QStringList result;
        int end = n;
        for (int l = lines; l >= 1; --l) {
            const int j = from[size_t(l)][size_t(end)];
            result.prepend(words.mid(j, end - j).join(u' '));
            end = j;
        }
        return result.join(u'\n');
    }
    return std::nullopt;
}
