// Decimation for charts: one pass over a series of values keeps, for each pixel column of a chart N
// pixels wide, the first, last, smallest and largest value that falls on it, so a file of any size
// draws from at most 4N points per series and nothing beyond that is held. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A kept value and the index (record number from 0) it came from.
struct ChartPoint {
    int64_t Index;
    double Value;
};

class Decimator {
  public:
    // count values (indexes 0..count-1) of series series, spread over pixels pixel columns.
    Decimator(int pixels, int64_t count, int series);

    // The pixel column of an index: index * pixels / count, cut.
    int PixelOf(int64_t index) const;
    // Takes the values of one index, one per series, in rising index order. Values that are not
    // finite (NaN, infinities) are passed over: they cannot be drawn.
    void Add(int64_t index, const double* values) {
        if (index >= nextBoundary_) Advance(index);
        Bin* bins = &bins_[static_cast<size_t>(pixel_) * series_];
        for (int s = 0; s < series_; ++s) bins[s].Take(index, values[s]);
    }
    // The kept points of a series in index order: at most four per pixel column, none repeated.
    std::vector<ChartPoint> Points(int series) const;

    int Pixels() const { return pixels_; }
    int64_t Count() const { return count_; }

  private:
    struct Bin {
        ChartPoint First{-1, 0}, Last{-1, 0}, Min{-1, 0}, Max{-1, 0};
        void Take(int64_t index, double v) {
            if (!(v - v == 0)) return; // NaN or an infinity
            if (First.Index < 0) {
                First = Last = Min = Max = {index, v};
                return;
            }
            Last = {index, v};
            if (v < Min.Value) Min = {index, v};
            if (v > Max.Value) Max = {index, v};
        }
    };
    void Advance(int64_t index);

    int pixels_;
    int64_t count_;
    int series_;
    int pixel_ = 0;
    int64_t nextBoundary_ = 0; // the first index of the next pixel column
    std::vector<Bin> bins_;
};
