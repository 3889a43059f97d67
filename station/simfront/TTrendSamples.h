// TTrendSamples: the recent history of watched values for the trend view, one
// row per sample (simulated time in engine steps and a value per series),
// the last kCapacity rows in a ring. A series is one watched variable, known
// by its map code; it keeps its place and colour while the history lasts,
// and rows taken while it was not watched hold no value for it.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <limits>
#include <vector>

class TTrendSamples {
 public:
  static constexpr size_t kCapacity = 10000;
  static constexpr int32_t kNoValue = std::numeric_limits<int32_t>::min();

  struct Series {
    QString name;
    int32_t mapCode = 0;
  };
  // One watched variable at sampling time; the name is only read when the
  // variable is new to the history.
  struct Watched {
    const QString* name;
    int32_t mapCode;
    int32_t value;
  };

  // Appends a sample of the currently watched variables at a time. A time
  // before the last one (the program was reset) starts a new history.
  void Add(int64_t time, const std::vector<Watched>& watched);
  void Clear();

  size_t Size() const { return size_; }
  const std::vector<Series>& AllSeries() const { return series_; }
  // Row i, 0 the oldest.
  int64_t TimeAt(size_t i) const { return times_[Slot(i)]; }
  // The value of a series in row i, kNoValue when it was not watched then.
  int32_t ValueAt(size_t i, size_t series) const;
  // Smallest and largest value of all series (false when there is none).
  bool Range(int32_t& low, int32_t& high) const;

  // The history as CSV: a header "Schritt;name;..." then one line per row,
  // empty fields where a series had no value; CR LF line ends.
  QByteArray ToCsv() const;

 private:
  size_t Slot(size_t i) const {
    const size_t slot = first_ + i;
    return slot >= kCapacity ? slot - kCapacity : slot;
  }
  // Makes room for one more series in every row.
  void Widen();
  size_t SeriesIndex(const Watched& w);
  // The series of each watched position at the last sample (the watch list
  // rarely changes, so its lookup is mostly a comparison).
  std::vector<size_t> lastIndex_;

  std::vector<Series> series_;
  // The ring, flat: times_[slot], and the values of a row at
  // values_[slot * stride_ + series].
  std::vector<int64_t> times_;
  std::vector<int32_t> values_;
  size_t stride_ = 0;
  size_t first_ = 0;
  size_t size_ = 0;
};
