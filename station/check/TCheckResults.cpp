#include "TCheckResults.h"

#include <algorithm>
#include <map>
#include <memory>

#include "Notifications.h"
#include "TModelView.h"
#include "TProjectChecker.h"
#include "TTarvixPlusModel.h"

namespace {

// One project's findings; as a view of the project it learns when the
// project goes and takes its findings along.
class Entry : public TModelView {
 public:
  explicit Entry(TTarvixPlusModel& model);
  ~Entry() override {
    if (model_) model_->RemoveView(this);
  }
  void ModelChanged(int32_t, int64_t, const TChangeRecord*) override {}
  void ModelGone() override;

  TTarvixPlusModel* model_;
  std::vector<TFinding> findings;
};

std::map<const TTarvixPlusModel*, std::unique_ptr<Entry>>& Entries() {
  static std::map<const TTarvixPlusModel*, std::unique_ptr<Entry>> entries;
  return entries;
}

Entry::Entry(TTarvixPlusModel& model) : model_(&model) { model.AddView(this); }

void Entry::ModelGone() {
  const TTarvixPlusModel* model = model_;
  model_ = nullptr;
  Entries().erase(model);  // destroys this entry: nothing may follow
}

}  // namespace

const std::vector<TFinding>& TCheckResults::Run(TTarvixPlusModel& model) {
  auto& slot = Entries()[&model];
  if (!slot) slot = std::make_unique<Entry>(model);
  slot->findings = TProjectChecker::Check(model);
  const std::vector<TFinding>& result = slot->findings;
  model.UpdateViews(notify::kCheckResults);
  return result;
}

const std::vector<TFinding>* TCheckResults::Last(const TTarvixPlusModel* model) {
  auto it = Entries().find(model);
  return it == Entries().end() ? nullptr : &it->second->findings;
}

std::vector<TFinding> TCheckResults::OfBlock(const TTarvixPlusModel* model, int32_t blockId) {
  std::vector<TFinding> out;
  if (const std::vector<TFinding>* all = Last(model))
    for (const TFinding& f : *all)
      if (f.blockId == blockId && blockId != 0) out.push_back(f);
  std::stable_sort(out.begin(), out.end(), [](const TFinding& a, const TFinding& b) { return a.severity < b.severity; });
  return out;
}
