#include "TTrendSamples.h"

#include <QByteArray>
#include <algorithm>

size_t TTrendSamples::SeriesIndex(const Watched& w) {
  for (size_t i = 0; i < series_.size(); ++i)
    if (series_[i].mapCode == w.mapCode) return i;
  series_.push_back({w.name, w.mapCode});
  return series_.size() - 1;
}

void TTrendSamples::Clear() {
  series_.clear();
  rows_.clear();
  first_ = 0;
  size_ = 0;
}

void TTrendSamples::Add(int64_t time, const std::vector<Watched>& watched) {
  if (size_ > 0 && time < TimeAt(size_ - 1)) Clear();
  if (size_ == rows_.size() && rows_.size() < kCapacity) rows_.resize(std::min(kCapacity, std::max<size_t>(rows_.size() * 2, 64)));
  size_t slot;
  if (size_ < kCapacity) {
    slot = Slot(size_);
    ++size_;
  } else {
    // Full: the oldest row makes room.
    slot = first_;
    first_ = (first_ + 1) % kCapacity;
  }
  Row& row = rows_[slot];
  row.time = time;
  row.values.assign(series_.size(), kNoValue);
  for (const Watched& w : watched) {
    const size_t s = SeriesIndex(w);
    if (s >= row.values.size()) row.values.resize(s + 1, kNoValue);
    row.values[s] = w.value;
  }
}

int32_t TTrendSamples::ValueAt(size_t i, size_t series) const {
  const Row& row = rows_[Slot(i)];
  return series < row.values.size() ? row.values[series] : kNoValue;
}

bool TTrendSamples::Range(int32_t& low, int32_t& high) const {
  bool any = false;
  for (size_t i = 0; i < size_; ++i)
    for (int32_t v : rows_[Slot(i)].values) {
      if (v == kNoValue) continue;
      if (!any) low = high = v;
      low = std::min(low, v);
      high = std::max(high, v);
      any = true;
    }
  return any;
}

QByteArray TTrendSamples::ToCsv() const {
  QByteArray out = "Schritt";
  for (const Series& s : series_) {
    QString name = s.name;
    name.replace(QLatin1Char(';'), QLatin1Char(','));
    out += ';' + name.toUtf8();
  }
  out += "\r\n";
  for (size_t i = 0; i < size_; ++i) {
    out += QByteArray::number(static_cast<qlonglong>(TimeAt(i)));
    for (size_t s = 0; s < series_.size(); ++s) {
      out += ';';
      const int32_t v = ValueAt(i, s);
      if (v != kNoValue) out += QByteArray::number(v);
    }
    out += "\r\n";
  }
  return out;
}
