#include "TWindowFactory.h"

#include <map>

namespace {

struct Entry {
  TWindowFactory::Kind kind;
  TWindowFactory::Creator creator;
};

std::map<QString, Entry>& Registry() {
  static std::map<QString, Entry> registry;
  return registry;
}

}  // namespace

void TWindowFactory::Register(const QString& className, Kind kind, Creator creator) {
  Registry()[className] = Entry{kind, std::move(creator)};
}

bool TWindowFactory::Has(const QString& className) { return Registry().count(className) != 0; }

TWindowFactory::Kind TWindowFactory::KindOf(const QString& className) {
  auto it = Registry().find(className);
  return it == Registry().end() ? Kind::Document : it->second.kind;
}

QWidget* TWindowFactory::Create(const QString& className, TTarvixPlusModel* model, QWidget* parent) {
  auto it = Registry().find(className);
  return it == Registry().end() ? nullptr : it->second.creator(model, parent);
}

QStringList TWindowFactory::Names() {
  QStringList names;
  for (const auto& [name, entry] : Registry()) names << name;
  return names;
}
