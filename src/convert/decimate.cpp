#include "convert/decimate.h"

#include <algorithm>

Decimator::Decimator(int pixels, int64_t count, int series)
    : pixels_(pixels < 1 ? 1 : pixels), count_(count < 0 ? 0 : count), series_(series < 0 ? 0 : series),
      bins_(static_cast<size_t>(pixels_) * static_cast<size_t>(series_)) {}

int Decimator::PixelOf(int64_t index) const {
    if (count_ <= 0 || index <= 0) return 0;
    if (index >= count_) return pixels_ - 1;
    return static_cast<int>(index * pixels_ / count_);
}

// The pixel column changes seldom (at most pixels times), so the division is done only here.
void Decimator::Advance(int64_t index) {
    pixel_ = PixelOf(index);
    if (pixel_ >= pixels_ - 1) {
        nextBoundary_ = INT64_MAX;
        return;
    }
    // The smallest index whose pixel column is pixel_ + 1: ceil((pixel_ + 1) * count / pixels).
    nextBoundary_ = ((pixel_ + 1) * count_ + pixels_ - 1) / pixels_;
}

std::vector<ChartPoint> Decimator::Points(int series) const {
    std::vector<ChartPoint> points;
    if (series < 0 || series >= series_) return points;
    for (int p = 0; p < pixels_; ++p) {
        const Bin& b = bins_[static_cast<size_t>(p) * series_ + series];
        if (b.First.Index < 0) continue;
        ChartPoint four[] = {b.First, b.Min, b.Max, b.Last};
        std::sort(std::begin(four), std::end(four),
                  [](const ChartPoint& x, const ChartPoint& y) { return x.Index < y.Index; });
        for (const ChartPoint& q : four)
            if (points.empty() || points.back().Index != q.Index) points.push_back(q);
    }
    return points;
}
