#include "TTrendSamples.h"

#include <QByteArray>
#include <algorithm>
#include <cstdint>

size_t TTrendSamples::SeriesIndex(const Watched& w) {
  for (size_t i = 0; i < series_.size(); ++i)
    if (series_[i].mapCode == w.mapCode) return i;
  series_.push_back({w.name ? *w.name : QString(), w.mapCode});
  return series_.size() - 1;
}

void TTrendSamples::Clear() {
  series_.clear();
  lastIndex_.clear();
  times_.clear();
  values_.clear();
  stride_ = 0;
  first_ = 0;
  size_ = 0;
}

void TTrendSamples::Widen() {
  const size_t stride = std::max<size_t>(8, stride_ * 2);
  std::vector<int32_t> wider(times_.size() * stride, kNoValue);
  for (size_t slot = 0; slot < times_.size(); ++slot)
    std::copy_n(values_.begin() + static_cast<std::ptrdiff_t>(slot * stride_), stride_,
                wider.begin() + static_cast<std::ptrdiff_t>(slot * stride));
  values_.swap(wider);
  stride_ = stride;
}

void TTrendSamples::Add(int64_t time, const std::vector<Watched>& watched) {
  if (size_ > 0 && time < TimeAt(size_ - 1)) Clear();
  if (size_ == times_.size() && times_.size() < kCapacity) {
    const size_t rows = std::min(kCapacity, std::max<size_t>(times_.size() * 2, 64));
    times_.resize(rows);
    values_.resize(rows * stride_, kNoValue);
  }
  size_t slot;
  if (size_ < kCapacity) {
    slot = Slot(size_);
    ++size_;
  } else {
    // Full: the oldest row makes room.
    slot = first_;
    first_ = first_ + 1 == kCapacity ? 0 : first_ + 1;
  }
  times_[slot] = time;
  std::fill_n(values_.begin() + static_cast<std::ptrdiff_t>(slot * stride_), stride_, kNoValue);
  if (lastIndex_.size() != watched.size()) lastIndex_.assign(watched.size(), SIZE_MAX);
  for (size_t p = 0; p < watched.size(); ++p) {
    const Watched& w = watched[p];
    size_t s = lastIndex_[p];
    if (s >= series_.size() || series_[s].mapCode != w.mapCode) s = lastIndex_[p] = SeriesIndex(w);
    while (s >= stride_) Widen();
    values_[slot * stride_ + s] = w.value;
  }
}

int32_t TTrendSamples::ValueAt(size_t i, size_t series) const {
  return series < stride_ ? values_[Slot(i) * stride_ + series] : kNoValue;
}

bool TTrendSamples::Range(int32_t& low, int32_t& high) const {
  bool any = false;
  for (size_t i = 0; i < size_; ++i)
    for (size_t s = 0; s < series_.size(); ++s) {
      const int32_t v = ValueAt(i, s);
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
