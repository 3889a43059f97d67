// One group of the block palette: key (also the name of its picture),
// caption and its types in delivery order.
#pragma once

#include <QImage>
#include <QString>
#include <utility>
#include <vector>

struct TBlockTyp;

struct TBlockGroupItem {
  QString key;
  QString caption;
  QImage bitmap;
  std::vector<std::pair<QString, TBlockTyp*>> types;  // (name, type), not owned
};
