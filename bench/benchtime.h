#pragma once

// Timing helpers of the bench programs.

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median wall time of `runs` calls of work, in milliseconds.
inline double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int k = 0; k < runs; ++k) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

} // namespace bench
