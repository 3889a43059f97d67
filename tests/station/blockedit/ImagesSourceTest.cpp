// The station's catalogue read from the real images library.
#include <set>

#include "BlockEditTestSupport.h"
#include "TImagesCatalogueSource.h"

namespace {

TEST(ImagesCatalogue, EveryTypeWithItsPicture) {
  EnsureGuiApp();
  RecordingUserInterface ui;
  TBlockCatalogue& catalogue = TBlockCatalogue::Instance();
  catalogue.Clear();
  catalogue.Load(std::make_unique<TImagesCatalogueSource>());
  EXPECT_EQ(ui.Count("ErrorBox"), 0);
  ASSERT_EQ(catalogue.Groups().size(), 10u);
  std::set<int32_t> ids;
  for (const auto& group : catalogue.Groups()) {
    EXPECT_FALSE(group->caption.isEmpty());
    for (const auto& entry : group->types) ids.insert(entry.second->typeId);
  }
  EXPECT_EQ(ids.size(), 97u);
  // A calculator has its picture; a constant is drawn as a labelled box.
  std::shared_ptr<const QImage> add = catalogue.Picture(200);
  ASSERT_TRUE(add);
  EXPECT_EQ(add->size(), QSize(40, 40));
  EXPECT_FALSE(catalogue.Picture(700));
  EXPECT_FALSE(catalogue.Glyph(700).isNull());
  EXPECT_EQ(ui.Count("ErrorBox"), 0);
  catalogue.Clear();
}

}  // namespace
