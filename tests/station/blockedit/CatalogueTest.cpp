// Reading the block catalogue, picture fallback and the file search.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "BlockEditTestSupport.h"
#include "TFileSearch.h"
#include "TGraphBlock.h"

TEST_F(BlockEditTest, CatalogueReadsGroupsAndTypesInOrder) {
  const auto& groups = TBlockCatalogue::Instance().Groups();
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0]->key, QStringLiteral("GRP_CONST"));
  EXPECT_EQ(groups[1]->caption, QStringLiteral("Arithmetik"));
  ASSERT_EQ(groups[1]->types.size(), 2u);
  EXPECT_EQ(groups[1]->types[0].first, QStringLiteral("Addition"));
  EXPECT_EQ(groups[1]->types[0].second->typeId, 200);
  const TBlockTyp* constant = TBlockCatalogue::Instance().FindType(700);
  ASSERT_NE(constant, nullptr);
  EXPECT_TRUE(constant->pictureName.isEmpty());
  EXPECT_EQ(TBlockCatalogue::Instance().Picture(700), nullptr);
  EXPECT_EQ(TBlockCatalogue::Instance().FindType(999), nullptr);
  EXPECT_EQ(ui.Count("ErrorBox"), 0);
}

TEST_F(BlockEditTest, CatalogueOddLines) {
  auto source = std::make_unique<FakeCatalogueSource>();
  source->groups = "A|Gruppe \xC4\r\nohne Strich\r\nB|Zweite\r\n";
  source->blocks["A"] = "g|p|Eins|1\r\ng|p|Zwei|2\r\nkaputt\r\ng|p|Drei|3\r\n";
  source->blocks["B"] = "g|p|Doppelt|2\r\ng|p|Vier|4\r\ng|p|Fuenf|x5\r\ng|p|Sechs|6\r\n";
  source->bitmaps["A"] = PngBytes(QImage(8, 8, QImage::Format_RGB32));
  TBlockCatalogue::Instance().Load(std::move(source));
  const auto& groups = TBlockCatalogue::Instance().Groups();
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0]->caption, QStringLiteral("Gruppe Ä"));
  EXPECT_TRUE(groups[1]->key.isEmpty());
  EXPECT_EQ(groups[0]->types.size(), 2u);  // the broken line ends the group
  EXPECT_EQ(groups[2]->types.size(), 1u);  // duplicate dropped, "x5" ends the group
  EXPECT_NE(TBlockCatalogue::Instance().FindType(4), nullptr);
  EXPECT_EQ(TBlockCatalogue::Instance().FindType(6), nullptr);
  const QStringList errors = ui.Texts("ErrorBox");
  EXPECT_TRUE(errors.contains(QStringLiteral("Blocktyp-ID 2 mehrfach gefunden!")));
  EXPECT_TRUE(errors.contains(QStringLiteral("Interner Fehler:\r\nKonnte Bitmap B nicht finden!")));
  EXPECT_FALSE(groups[2]->bitmap.isNull());  // replaced by the station's picture
}

TEST_F(BlockEditTest, StationErrorPictureIsInTheResources) {
  const QImage image = TBlockCatalogue::StationBitmap(QStringLiteral("BLOCK_BMP_ERROR"));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(40, 20));
  EXPECT_EQ(image.pixel(19, 9) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(BlockEditTest, FileSearchOrderAndSeparators) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString oldDir = QDir::currentPath();
  QDir(root.path()).mkpath(QStringLiteral("work/Bitmaps/sub"));
  QDir(root.path()).mkpath(QStringLiteral("Bitmaps"));
  QDir(root.path()).mkpath(QStringLiteral("conf"));
  auto touch = [&](const QString& rel) {
    QFile f(root.path() + QLatin1Char('/') + rel);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
  };
  touch(QStringLiteral("work/Bitmaps/sub/a.bmp"));
  touch(QStringLiteral("Bitmaps/b.bmp"));
  touch(QStringLiteral("conf/c.bmp"));
  touch(QStringLiteral("work/d.bmp"));
  QDir::setCurrent(root.path() + QStringLiteral("/work"));
  CellEditorSettings::Current().bitmapPath = root.path() + QStringLiteral("/conf");
  EXPECT_EQ(TFileSearch::FindBitmap(QStringLiteral("d.bmp")), QStringLiteral("d.bmp"));
  EXPECT_EQ(TFileSearch::FindBitmap(QStringLiteral("sub\\a.bmp")), QStringLiteral("Bitmaps/sub/a.bmp"));
  EXPECT_EQ(TFileSearch::FindBitmap(QStringLiteral("b.bmp")), QStringLiteral("../Bitmaps/b.bmp"));
  EXPECT_EQ(TFileSearch::FindBitmap(QStringLiteral("c.bmp")), root.path() + QStringLiteral("/conf/c.bmp"));
  EXPECT_TRUE(TFileSearch::FindBitmap(QStringLiteral("none.bmp")).isEmpty());
  EXPECT_TRUE(TFileSearch::FindBitmap(QString()).isEmpty());
  EXPECT_EQ(TFileSearch::StoredName(root.path() + QStringLiteral("/conf/c.bmp"), CellEditorSettings::Current().bitmapPath),
            QStringLiteral("c.bmp"));
  EXPECT_EQ(TFileSearch::StoredName(QStringLiteral("d.bmp"), CellEditorSettings::Current().bitmapPath), QStringLiteral("d.bmp"));
  QDir::setCurrent(oldDir);
}

TEST_F(BlockEditTest, UserBitmapLoadsOrFallsBackToTheTypePicture) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QImage user(30, 30, QImage::Format_RGB32);
  user.fill(Qt::blue);
  ASSERT_TRUE(user.save(dir.path() + QStringLiteral("/user.bmp"), "BMP"));
  CellEditorSettings::Current().bitmapPath = dir.path();
  TGraphBlock b(1, nullptr);
  b.SetType(200);
  b.SetBounds({10, 10, 50, 30});
  b.SetUserBitmap(QStringLiteral("user.bmp"));
  EXPECT_TRUE(b.OwnsUserBitmap());
  EXPECT_EQ(b.Bounds(), (TRect{10, 10, 40, 40}));
  QStringList lines;
  b.WriteData(lines);
  EXPECT_EQ(lines.last(), QStringLiteral("BmpFile=user.bmp"));
  b.SetUserBitmap(QStringLiteral("kaputt.bmp"));
  EXPECT_FALSE(b.OwnsUserBitmap());
  EXPECT_EQ(ui.Texts("ErrorBox"), QStringList{QStringLiteral("kaputt.bmp ist keine gültige Bitmapdatei!")});
  EXPECT_EQ(b.Bounds(), (TRect{10, 10, 50, 30}));  // type picture again
  lines.clear();
  b.WriteData(lines);
  EXPECT_EQ(lines, QStringList{QStringLiteral("TYPE=200")});
  RecordingUserInterface::Reply choose;
  choose.accept = true;
  choose.text = QStringLiteral("user.bmp");
  ui.replies.push_back(choose);
  bool appearance = false;
  EXPECT_TRUE(b.EditData(1, appearance));
  EXPECT_TRUE(appearance);
  EXPECT_TRUE(b.OwnsUserBitmap());
  choose.text.clear();
  ui.replies.push_back(choose);
  EXPECT_TRUE(b.EditData(1, appearance));
  EXPECT_FALSE(b.OwnsUserBitmap());
  EXPECT_EQ(b.Bounds().Width(), 40);
}
